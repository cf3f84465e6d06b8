// The grid's native text file and its stream form: cell texts and column widths, one line each.
//
// Both forms stream: the savers build lines in a buffer that goes to the file or stream piece by piece,
// and the file loader decodes and splits the file a piece at a time, so a grid of millions of cells never
// holds its whole file as lines. A file is replaced only when its save completed: the file form writes
// a temporary file beside the target and renames it over the target at the end.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"

static_assert(std::endian::native == std::endian::little, "the UTF-16 forms write code units as they lie");

namespace {

// Characters gathered before the buffer goes to its file or stream.
constexpr size_t kFlushChars = size_t(1) << 16;
constexpr Int64 kIntMax = std::numeric_limits<Integer>::max();
constexpr Int64 kIntMin = std::numeric_limits<Integer>::min();
// Bytes read from a file at a time.
constexpr size_t kReadBytes = size_t(1) << 20;

void AppendInt(String& out, Int64 value) {
    Char digits[24];
    Char* end = digits + 24;
    Char* p = end;
    const bool negative = value < 0;
    std::uint64_t v = negative ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
    do {
        *--p = Char(u'0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (negative)
        *--p = u'-';
    out.append(p, end);
}

// The lenient integer of the file form: leading blanks and a sign, then the digits up to the first other
// character; 0 without digits. Saturates far beyond any count, so that a huge value stays huge.
Int64 LenientInt(StringView text) {
    size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    Int64 value = 0;
    constexpr Int64 kCeiling = Int64(1) << 40;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(kCeiling, value * 10 + (text[i] - u'0'));
    return negative ? -value : value;
}

// The text before the first comma, taking it and the comma off text; empty text (and text unchanged) when
// there is no comma.
StringView CutField(StringView& text) {
    const size_t comma = text.find(u',');
    if (comma == StringView::npos)
        return {};
    StringView field = text.substr(0, comma);
    text.remove_prefix(comma + 1);
    return field;
}

// r of 0..span as a percentage rounded half to even, kept within 0..100 whatever r is.
Integer Percentage(Int64 r, Integer span) {
    const double value = std::nearbyint(double(r) * 100.0 / double(std::max(1, span)));
    return static_cast<Integer>(std::clamp(value, 0.0, 100.0));
}

// Writes the saver's lines to a stream as UTF-16 or as ANSI, a piece at a time; pieces end at line ends,
// so no character is cut in two.
class TLineWriter {
public:
    TLineWriter(TStream& stream, bool unicode) : FStream(stream), FUnicode(unicode) {
        FBuffer.reserve(kFlushChars + 1024);
    }
    String& Line() { return FBuffer; }
    void EndLine() {
        FBuffer += u"\r\n";
        if (FBuffer.size() >= kFlushChars)
            Flush();
    }
    void Flush() {
        if (FBuffer.empty())
            return;
        if (FUnicode) {
            WriteBytes(FBuffer.data(), FBuffer.size() * sizeof(Char));
        } else {
            const AnsiString bytes = StringToAnsi(FBuffer);
            WriteBytes(bytes.data(), bytes.size());
        }
        FBuffer.clear();
    }

private:
    void WriteBytes(const void* data, size_t size) { FStream.WriteBuffer(data, static_cast<Integer>(size)); }

    TStream& FStream;
    bool FUnicode;
    String FBuffer;
};

// Reads a file's lines as the framework's string list splits them (CR, LF or CR LF end a line; a last
// line needs no end), decoding by the byte-order mark: UTF-16 in either order, UTF-8, else ANSI.
class TFileLineReader {
public:
    explicit TFileLineReader(const String& fileName) : FStream(fileName, fmOpenRead | fmShareDenyWrite) {
        Byte head[3] = {};
        const Integer n = FStream.Read(head, 3);
        if (n >= 2 && head[0] == 0xFF && head[1] == 0xFE) {
            FKind = Kind::Utf16LE;
            FPending.assign(head + 2, head + n);
        } else if (n >= 2 && head[0] == 0xFE && head[1] == 0xFF) {
            FKind = Kind::Utf16BE;
            FPending.assign(head + 2, head + n);
        } else if (n == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
            FKind = Kind::Utf8;
        } else {
            FKind = Kind::Ansi;
            FPending.assign(head, head + n);
        }
    }

    // The next line, or false at the end of the file. The view lasts until the next call.
    bool ReadLine(StringView& line) {
        for (;;) {
            const size_t end = FText.find_first_of(u"\r\n", FPos);
            if (end != String::npos && (FText[end] == u'\n' || end + 1 < FText.size() || FEof)) {
                line = StringView(FText).substr(FPos, end - FPos);
                FPos = end + 1;
                if (FText[end] == u'\r' && FPos < FText.size() && FText[FPos] == u'\n')
                    ++FPos;
                return true;
            }
            if (FEof) {
                if (FPos >= FText.size())
                    return false;
                line = StringView(FText).substr(FPos);
                FPos = FText.size();
                return true;
            }
            Fill();
        }
    }

private:
    enum class Kind { Ansi, Utf8, Utf16LE, Utf16BE };

    // Decodes the next piece of the file behind the unread text.
    void Fill() {
        FText.erase(0, FPos);
        FPos = 0;
        const size_t kept = FPending.size();
        FPending.resize(kept + kReadBytes);
        const Integer n = FStream.Read(FPending.data() + kept, static_cast<Integer>(kReadBytes));
        FPending.resize(kept + static_cast<size_t>(std::max(n, 0)));
        FEof = n <= 0;
        size_t usable = FPending.size();
        if (FKind == Kind::Utf16LE || FKind == Kind::Utf16BE) {
            usable &= ~size_t(1);
            const size_t units = usable / 2;
            const size_t base = FText.size();
            FText.resize(base + units);
            std::memcpy(FText.data() + base, FPending.data(), units * 2);
            if (FKind == Kind::Utf16BE)
                for (size_t i = base; i < FText.size(); ++i)
                    FText[i] = Char((FText[i] >> 8) | (FText[i] << 8));
        } else {
            // A multi-byte character never holds a CR or LF byte: decode up to the last line end, so
            // that no character is cut in two.
            if (!FEof) {
                size_t last = usable;
                while (last > 0 && FPending[last - 1] != '\n' && FPending[last - 1] != '\r')
                    --last;
                if (last > 0)
                    usable = last;
            }
            const std::string_view bytes(reinterpret_cast<const char*>(FPending.data()), usable);
            FText += FKind == Kind::Utf8 ? Utf8ToString(bytes) : AnsiToString(bytes);
        }
        FPending.erase(FPending.begin(), FPending.begin() + static_cast<std::ptrdiff_t>(usable));
        if (FEof && !FPending.empty() && (FKind == Kind::Utf16LE || FKind == Kind::Utf16BE))
            FPending.clear(); // an odd last byte is no character
    }

    TFileStream FStream;
    Kind FKind = Kind::Ansi;
    std::vector<Byte> FPending; // bytes read and not yet decoded
    String FText;               // decoded text; lines start at FPos
    size_t FPos = 0;
    bool FEof = false;
};

// Reads one line of the stream form: UTF-16 code units up to a 13, whose following unit is consumed
// unread. False at the end of the stream.
bool ReadStreamLine(TStream& stream, String& line) {
    line.clear();
    Char unit = 0;
    bool any = false;
    while (stream.Read(&unit, 2) == 2) {
        any = true;
        if (unit == 13) {
            Char skipped = 0;
            stream.Read(&skipped, 2);
            return true;
        }
        line += unit;
    }
    return any;
}

// The integer of the stream form: the framework's StrToInt, raising EConvertError on anything else.
Integer StrictInt(StringView text) {
    return StrToInt(text);
}

} // namespace

// ---- Guarding a load

// Raised when a file operation starts while the grid is loading a file: the load pumps messages, and a
// handler run by it must not load into or save from the half-loaded grid.
void TAdvStringGrid::CheckNotLoading() const {
    if (FFileLoad != nullptr)
        throw EAdvGridError(AdvGridErrors::LoadInProgress);
}

void TAdvStringGrid::FireFileProgress(Integer Progress, Integer& Previous) {
    if (!OnFileProgress || Progress == Previous)
        return;
    Previous = Progress;
    OnFileProgress(this, static_cast<SmallInt>(Progress));
}

// ---- File form

void TAdvStringGrid::SaveToFile(const String& FileName, bool Unicode) {
    CheckNotLoading();
    const Integer hidden = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const Integer startCol = SaveStartCol();
    const Integer endCol = SaveEndCol() + hidden;
    const Integer startRow = SaveStartRow();
    const Integer endRow = SaveEndRow();

    TAtomicFileStream file(FileName);
    TLineWriter out(file, Unicode);
    if (Unicode) {
        const Byte bom[2] = {0xFF, 0xFE};
        file.WriteBuffer(bom, 2);
    }
    String& line = out.Line();
    AppendInt(line, Int64(hidden) + SaveColCount());
    line += u',';
    AppendInt(line, SaveRowCount());
    out.EndLine();
    for (Integer c = startCol; c <= endCol; ++c) {
        line += u"cw ";
        AppendInt(line, c);
        line += u',';
        AppendInt(line, ColWidths(c));
        out.EndLine();
    }
    ExportNotification(esExportStart, startRow);
    Integer previous = -1;
    for (Integer r = startRow; r <= endRow; ++r) {
        ExportNotification(esExportNextRow, r);
        for (Integer c = startCol; c <= endCol; ++c) {
            const String text = SaveCell(c, r);
            if (text.empty())
                continue;
            AppendInt(line, c);
            line += u',';
            AppendInt(line, r);
            line += u',';
            if (text.find(u'\r') == String::npos)
                line += text;
            else
                line += EncodeLineBreaks(text);
            out.EndLine();
        }
        if (OnFileProgress)
            FireFileProgress(Percentage(Int64(r) - startRow, SaveRowCount() - 1), previous);
    }
    ExportNotification(esExportDone, -1);
    out.Flush();
    file.Commit();
}

void TAdvStringGrid::LoadFromFile(const String& FileName) {
    CheckNotLoading();
    TFileLineReader reader(FileName);
    StringView line;
    if (!reader.ReadLine(line))
        throw EStringListError(Consts::SListIndexError, {0});

    const Integer colOffset = FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols();
    const Integer rowOffset = FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows();
    if (!line.empty()) {
        StringView rest = line;
        const Int64 cols = colOffset + LenientInt(CutField(rest));
        const Int64 rows = rowOffset + LenientInt(rest);
        // A count the grid cannot hold is a corrupt header, refused before anything is allocated.
        if (cols > MaxFileColCount || rows > MaxFileRowCount)
            throw EAdvGridError(AdvGridErrors::FileCorrupt(FileName));
        SetColCount(static_cast<Integer>(std::max<Int64>(cols, 1)));
        SetRowCount(static_cast<Integer>(std::max<Int64>(rows, 1)));
    }
    if (ColCount() <= 0 || RowCount() <= 0)
        throw EAdvGridError(AdvGridErrors::FileCorrupt(FileName));

    // While the load pumps messages the window may close and free the grid: the grid's destructor marks
    // this state, and the load then ends at once without touching the grid.
    FileLoadState state;
    FFileLoad = &state;
    struct Release {
        TAdvStringGrid* grid;
        FileLoadState& state;
        ~Release() {
            if (!state.destroyed)
                grid->FFileLoad = nullptr;
        }
    } release{this, state};

    Integer previous = -1;
    while (reader.ReadLine(line)) {
        if (line.size() >= 2 && line[0] == u'c' && line[1] == u'w') {
            StringView rest = line.substr(std::min<size_t>(3, line.size()));
            const Int64 index = LenientInt(CutField(rest));
            const Int64 width = LenientInt(rest.substr(0, std::min<size_t>(255, rest.size())));
            if (index >= 0 && index < ColCount())
                SetColWidths(static_cast<Integer>(index),
                             static_cast<Integer>(std::clamp<Int64>(width, kIntMin, kIntMax)));
            continue;
        }
        StringView rest = line;
        const Int64 col = LenientInt(CutField(rest));
        const Int64 row = LenientInt(CutField(rest));
        if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount()) {
            const Integer c = static_cast<Integer>(col);
            const Integer r = static_cast<Integer>(row);
            if (rest.find(u'\b') == StringView::npos)
                LoadCell(c, r, String(rest));
            else
                LoadCell(c, r, DecodeLineBreaks(rest, FMultilineCells));
        }
        if (OnFileProgress)
            FireFileProgress(Percentage(row, RowCount() - 1), previous);
        if (Application != nullptr)
            Application->ProcessMessages();
        if (state.destroyed)
            throw EAbort(u"");
    }
    DoCellsChanged(TRect(0, 0, ColCount(), RowCount()));
    CellsChangedHook();
}

// ---- Stream form

void TAdvStringGrid::SaveToStream(TStream& Stream) {
    CheckNotLoading();
    const Integer startCol = SaveStartCol();
    const Integer startRow = SaveStartRow();
    TLineWriter out(Stream, true);
    String& line = out.Line();
    AppendInt(line, SaveColCount());
    line += u',';
    AppendInt(line, SaveRowCount());
    out.EndLine();
    for (Integer c = 0; c < ColCount(); ++c) {
        line += u"cw ";
        AppendInt(line, c);
        line += u',';
        AppendInt(line, ColWidths(c));
        out.EndLine();
    }
    ExportNotification(esExportStart, startRow);
    for (Integer r = startRow; r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (Integer c = startCol; c <= SaveEndCol(); ++c) {
            const String text = SaveCell(c, r);
            if (text.empty())
                continue;
            AppendInt(line, Int64(c) - startCol);
            line += u',';
            AppendInt(line, Int64(r) - startRow);
            line += u',';
            line += EncodeLineBreaks(text);
            out.EndLine();
        }
    }
    ExportNotification(esExportDone, -1);
    out.Flush();
}

void TAdvStringGrid::LoadFromStream(TStream& Stream) {
    CheckNotLoading();
    String line;
    if (Stream.Position() < Stream.Size() && ReadStreamLine(Stream, line) && !line.empty()) {
        StringView rest = line;
        const Integer cols = StrictInt(CutField(rest));
        const Integer rows = StrictInt(rest);
        const Int64 colCount = Int64(cols) + SaveStartCol();
        const Int64 rowCount = Int64(rows) + SaveStartRow();
        if (colCount > MaxFileColCount || rowCount > MaxFileRowCount)
            throw EAdvGridError(AdvGridErrors::FileCorrupt(u""));
        SetColCount(static_cast<Integer>(colCount));
        SetRowCount(static_cast<Integer>(rowCount));
    }
    while (Stream.Position() < Stream.Size()) {
        const Int64 start = Stream.Position();
        ReadStreamLine(Stream, line);
        StringView rest = line;
        if (rest.size() >= 2 && rest[0] == u'c' && rest[1] == u'w') {
            rest.remove_prefix(std::min<size_t>(3, rest.size()));
            const size_t comma = rest.find(u',');
            const Integer index = StrictInt(rest.substr(0, comma));
            const Integer width =
                StrictInt(comma == StringView::npos ? StringView() : rest.substr(comma + 1));
            if (index >= 0 && index < ColCount())
                SetColWidths(index, width);
            continue;
        }
        const StringView colText = CutField(rest);
        if (colText.empty()) {
            Stream.SetPosition(start);
            break;
        }
        const StringView rowText = CutField(rest);
        if (rowText.empty()) {
            Stream.SetPosition(start);
            break;
        }
        const Int64 col = Int64(StrictInt(colText)) + SaveStartCol();
        const Int64 row = Int64(StrictInt(rowText)) + SaveStartRow();
        if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount())
            LoadCell(static_cast<Integer>(col), static_cast<Integer>(row),
                     DecodeLineBreaks(rest, FMultilineCells));
    }
    DoCellsChanged(TRect(0, 0, ColCount(), RowCount()));
    CellsChangedHook();
}
