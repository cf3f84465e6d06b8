// ObjectTextToBinary and ObjectBinaryToText.
#include "platform/framework/ObjectText.h"

#include <charconv>
#include <cmath>

#include "platform/framework/Filer.h"
#include "platform/framework/Parser.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/UString.h"

namespace {

// Text to binary.

class TTextConverter {
public:
    TTextConverter(TStream& input, TStream& output) : FParser(input), FWriter(output, 4096) {}

    void Run() {
        FWriter.WriteSignature();
        ConvertObject();
        FWriter.FlushBuffer();
    }

private:
    void Enter() {
        if (++FNesting > MaxFilerNesting)
            FParser.Error(Consts::SInvalidStreamFormat);
    }

    void ConvertHeader() {
        bool isInherited = FParser.TokenSymbolIs(u"inherited");
        bool isInline = FParser.TokenSymbolIs(u"inline");
        if (!isInherited && !isInline)
            FParser.CheckTokenSymbol(u"object");
        FParser.NextToken();
        FParser.CheckToken(toSymbol);
        String className = FParser.TokenString();
        String objectName;
        if (FParser.NextToken() == u':') {
            FParser.NextToken();
            FParser.CheckToken(toSymbol);
            objectName = className;
            className = FParser.TokenString();
            FParser.NextToken();
        }
        TFilerFlags flags;
        Integer position = 0;
        if (isInherited)
            flags.Include(ffInherited);
        if (isInline)
            flags.Include(ffInline);
        if (FParser.Token() == u'[') {
            FParser.NextToken();
            FParser.CheckToken(toInteger);
            position = static_cast<Integer>(FParser.TokenInt());
            flags.Include(ffChildPos);
            FParser.NextToken();
            FParser.CheckToken(u']');
            FParser.NextToken();
        }
        FWriter.WritePrefix(flags, position);
        FWriter.WriteStr(className);
        FWriter.WriteStr(objectName);
    }

    bool AtObjectOrEnd() const {
        return FParser.TokenSymbolIs(u"end") || FParser.TokenSymbolIs(u"object") ||
               FParser.TokenSymbolIs(u"inherited") || FParser.TokenSymbolIs(u"inline");
    }

    void ConvertObject() {
        Enter();
        ConvertHeader();
        while (!AtObjectOrEnd()) {
            if (FParser.Token() == toEOF)
                FParser.CheckTokenSymbol(u"end");
            ConvertProperty();
        }
        FWriter.WriteListEnd();
        while (!FParser.TokenSymbolIs(u"end")) {
            if (FParser.Token() == toEOF)
                FParser.CheckTokenSymbol(u"end");
            ConvertObject();
        }
        FWriter.WriteListEnd();
        FParser.NextToken();
        --FNesting;
    }

    void ConvertProperty() {
        FParser.CheckToken(toSymbol);
        String name = FParser.TokenString();
        FParser.NextToken();
        while (FParser.Token() == u'.') {
            FParser.NextToken();
            FParser.CheckToken(toSymbol);
            name += u"." + FParser.TokenString();
            FParser.NextToken();
        }
        FWriter.WriteStr(name);
        FParser.CheckToken(u'=');
        FParser.NextToken();
        ConvertValue();
    }

    void ConvertValue() {
        Enter();
        switch (FParser.Token()) {
        case toSymbol:
            FWriter.WriteIdent(FParser.TokenComponentIdent());
            break;
        case toString:
        case toWString: {
            String text = FParser.TokenString();
            while (FParser.NextToken() == u'+') {
                FParser.NextToken();
                if (FParser.Token() != toWString)
                    FParser.CheckToken(toString);
                text += FParser.TokenString();
            }
            FWriter.WriteString(text);
            --FNesting;
            return;
        }
        case toInteger:
            FWriter.WriteInteger(FParser.TokenInt());
            break;
        case toFloat:
            switch (FParser.FloatType()) {
            case u's':
                FWriter.WriteSingle(static_cast<float>(FParser.TokenFloat()));
                break;
            case u'c': {
                double value = FParser.TokenFloat();
                if (!(std::fabs(value) < 9.2e18))
                    FParser.Error(Consts::SInvalidPropertyValue);
                FWriter.WriteCurrency(value / 10000.0);
                break;
            }
            case u'd':
                FWriter.WriteDate(FParser.TokenFloat());
                break;
            default:
                FWriter.WriteFloat(FParser.TokenFloat());
            }
            break;
        case u'[':
            FParser.NextToken();
            FWriter.WriteValue(vaSet);
            if (FParser.Token() != u']') {
                for (;;) {
                    if (FParser.Token() != toInteger)
                        FParser.CheckToken(toSymbol);
                    FWriter.WriteStr(FParser.TokenString());
                    if (FParser.NextToken() == u']')
                        break;
                    FParser.CheckToken(u',');
                    FParser.NextToken();
                }
            }
            FWriter.WriteStr(String());
            break;
        case u'(':
            FParser.NextToken();
            FWriter.WriteListBegin();
            while (FParser.Token() != u')') {
                if (FParser.Token() == toEOF)
                    FParser.CheckToken(u')');
                ConvertValue();
            }
            FWriter.WriteListEnd();
            break;
        case u'{': {
            TMemoryStream bytes;
            FParser.HexToBinary(bytes);
            FWriter.WriteBinary(static_cast<const Byte*>(bytes.Memory()), static_cast<Integer>(bytes.Size()));
            --FNesting;
            return;
        }
        case u'<':
            FParser.NextToken();
            FWriter.WriteValue(vaCollection);
            while (FParser.Token() != u'>') {
                FParser.CheckTokenSymbol(u"item");
                FParser.NextToken();
                if (FParser.Token() == u'[') {
                    FParser.NextToken();
                    FParser.CheckToken(toInteger);
                    FWriter.WriteInteger(FParser.TokenInt());
                    FParser.NextToken();
                    FParser.CheckToken(u']');
                    FParser.NextToken();
                }
                FWriter.WriteListBegin();
                while (!FParser.TokenSymbolIs(u"end")) {
                    if (FParser.Token() == toEOF)
                        FParser.CheckTokenSymbol(u"end");
                    ConvertProperty();
                }
                FWriter.WriteListEnd();
                FParser.NextToken();
            }
            FWriter.WriteListEnd();
            break;
        default:
            FParser.Error(Consts::SInvalidPropertyValue);
        }
        FParser.NextToken();
        --FNesting;
    }

    TParser FParser;
    TWriter FWriter;
    Integer FNesting = 0;
};

// Binary to text.

class TBinaryConverter {
public:
    TBinaryConverter(TStream& input, TStream& output) : FReader(input, 4096), FOutput(output) {}

    void Run() {
        FReader.ReadSignature();
        ConvertObject();
        Flush();
    }

private:
    static constexpr Integer LineLength = 64;
    static constexpr Integer BytesPerLine = 32;

    void WriteStr(const String& text) {
        FText += StringToUtf8(text);
        if (FText.size() >= 4096)
            Flush();
    }
    void WriteAscii(const char* text) { FText += text; }
    void Flush() {
        if (!FText.empty())
            FOutput.WriteBuffer(FText.data(), static_cast<Integer>(FText.size()));
        FText.clear();
    }
    void NewLine() {
        WriteAscii("\r\n");
        WriteIndent();
    }
    void WriteIndent() { FText.append(static_cast<std::size_t>(FNesting) * 2, ' '); }

    void Enter() {
        if (FNesting >= MaxFilerNesting * 2)
            throw EReadError(Consts::SInvalidStreamFormat);
        ++FNesting;
    }

    void ConvertHeader() {
        TFilerFlags flags;
        Integer position;
        FReader.ReadPrefix(flags, position);
        String className = FReader.ReadStr();
        String objectName = FReader.ReadStr();
        WriteIndent();
        if (flags.Contains(ffInherited))
            WriteAscii("inherited ");
        else if (flags.Contains(ffInline))
            WriteAscii("inline ");
        else
            WriteAscii("object ");
        if (!objectName.empty())
            WriteStr(objectName + u": ");
        WriteStr(className);
        if (flags.Contains(ffChildPos))
            WriteStr(u" [" + IntToStr(position) + u"]");
        WriteAscii("\r\n");
    }

    void ConvertObject() {
        ConvertHeader();
        Enter();
        while (!FReader.EndOfList())
            ConvertProperty();
        FReader.ReadListEnd();
        while (!FReader.EndOfList())
            ConvertObject();
        FReader.ReadListEnd();
        --FNesting;
        WriteIndent();
        WriteAscii("end\r\n");
    }

    void ConvertProperty() {
        WriteIndent();
        WriteStr(FReader.ReadStr());
        WriteAscii(" = ");
        ConvertValue();
        WriteAscii("\r\n");
    }

    // Printable ASCII goes between quotes, every other character (the quote too) as #code; long text is
    // cut into lines joined by '+'.
    void WriteString(const String& text) {
        if (text.empty()) {
            WriteAscii("''");
            return;
        }
        Enter();
        if (static_cast<Integer>(text.size()) > LineLength)
            NewLine();
        std::size_t i = 0;
        std::size_t lineStart = 0;
        while (i < text.size()) {
            bool lineBreak = false;
            Char c = text[i];
            if (c >= u' ' && c != u'\'' && c <= 127) {
                std::size_t j = i;
                do
                    ++i;
                while (i < text.size() && text[i] >= u' ' && text[i] != u'\'' && text[i] <= 127 &&
                       static_cast<Integer>(i - lineStart) < LineLength);
                if (static_cast<Integer>(i - lineStart) >= LineLength)
                    lineBreak = true;
                WriteAscii("'");
                WriteStr(text.substr(j, i - j));
                WriteAscii("'");
            } else {
                WriteAscii("#");
                WriteStr(IntToStr(static_cast<Integer>(c)));
                ++i;
                if (static_cast<Integer>(i - lineStart) >= LineLength)
                    lineBreak = true;
            }
            if (lineBreak && i < text.size()) {
                WriteAscii(" +");
                NewLine();
                lineStart = i;
            }
        }
        --FNesting;
    }

    // The shortest text that reads back as the same double, always recognisable as a real.
    static String FloatText(double value) {
        char buffer[64];
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
        std::string text(buffer, error == std::errc() ? end : buffer);
        if (text.find_first_of(".eEn") == std::string::npos)
            text += ".0";
        return Utf8ToString(text);
    }

    void ConvertBinary() {
        std::vector<Byte> bytes = FReader.ReadBinary();
        static const char digits[] = "0123456789ABCDEF";
        WriteAscii("{");
        Enter();
        for (std::size_t i = 0; i < bytes.size(); i += BytesPerLine) {
            NewLine();
            for (std::size_t j = i; j < bytes.size() && j < i + BytesPerLine; ++j) {
                FText += digits[bytes[j] >> 4];
                FText += digits[bytes[j] & 15];
            }
        }
        --FNesting;
        WriteAscii("}");
    }

    void ConvertValue() {
        switch (FReader.NextValue()) {
        case vaList:
            FReader.ReadValue();
            WriteAscii("(");
            Enter();
            while (!FReader.EndOfList()) {
                NewLine();
                ConvertValue();
            }
            FReader.ReadListEnd();
            --FNesting;
            WriteAscii(")");
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            WriteStr(IntToStr(FReader.ReadInt64()));
            break;
        case vaExtended:
        case vaDouble:
            WriteStr(FloatText(FReader.ReadFloat()));
            break;
        case vaSingle:
            WriteStr(FloatText(FReader.ReadSingle()) + u"s");
            break;
        case vaCurrency: {
            // The ten-thousandths as the whole number they are; going through a double would print
            // 3 units as 2.9999999999999996.
            FReader.ReadValue();
            Int64 units;
            FReader.Read(&units, 8);
            WriteStr(IntToStr(units) + u"c");
            break;
        }
        case vaDate:
            WriteStr(FloatText(FReader.ReadDate()) + u"d");
            break;
        case vaString:
        case vaLString:
        case vaWString:
        case vaUTF8String:
            WriteString(FReader.ReadString());
            break;
        case vaIdent:
        case vaFalse:
        case vaTrue:
        case vaNil:
        case vaNull:
            WriteStr(FReader.ReadIdent());
            break;
        case vaBinary:
            ConvertBinary();
            break;
        case vaSet: {
            FReader.ReadValue();
            WriteAscii("[");
            bool first = true;
            for (;;) {
                String name = FReader.ReadStr();
                if (name.empty())
                    break;
                if (!first)
                    WriteAscii(", ");
                WriteStr(name);
                first = false;
            }
            WriteAscii("]");
            break;
        }
        case vaCollection:
            FReader.ReadValue();
            WriteAscii("<");
            Enter();
            while (!FReader.EndOfList()) {
                NewLine();
                WriteAscii("item");
                TValueType next = FReader.NextValue();
                if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
                    WriteAscii(" [");
                    WriteStr(IntToStr(FReader.ReadInt64()));
                    WriteAscii("]");
                }
                WriteAscii("\r\n");
                FReader.CheckValue(vaList);
                Enter();
                while (!FReader.EndOfList())
                    ConvertProperty();
                FReader.ReadListEnd();
                --FNesting;
                WriteIndent();
                WriteAscii("end");
            }
            FReader.ReadListEnd();
            --FNesting;
            WriteAscii(">");
            break;
        default:
            throw EReadError(Consts::SInvalidStreamFormat);
        }
    }

    TReader FReader;
    TStream& FOutput;
    std::string FText;
    Integer FNesting = 0;
};

} // namespace

void ObjectTextToBinary(TStream& input, TStream& output) {
    TTextConverter converter(input, output);
    converter.Run();
}

void ObjectBinaryToText(TStream& input, TStream& output) {
    TBinaryConverter converter(input, output);
    converter.Run();
}
