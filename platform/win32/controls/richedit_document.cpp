// The document a rich edit keeps: its text, the format of every character and of every paragraph, and
// the replacements every edit, paste and stream goes through.
#include <algorithm>

#include "platform/win32/richedit.h"

namespace win32::richedit {

Document::Document() {
    Clear();
}

void Document::Clear() {
    FText.clear();
    FCharFormats.clear();
    FFormats.clear();
    FFormatIndex.clear();
    FParas.assign(1, ParaFormat{});
    FormatIndex(CharFormat{});
}

int Document::FormatIndex(const CharFormat& format) {
    auto found = FFormatIndex.find(format);
    if (found != FFormatIndex.end())
        return found->second;
    int index = static_cast<int>(FFormats.size());
    FFormats.push_back(format);
    FFormatIndex.emplace(format, index);
    return index;
}

int Document::ParagraphOf(int pos) const {
    pos = std::clamp(pos, 0, Length());
    return static_cast<int>(std::count(FText.begin(), FText.begin() + pos, u'\r'));
}

int Document::ParagraphStart(int paragraph) const {
    int pos = 0;
    for (int i = 0; i < paragraph; ++i) {
        size_t found = FText.find(u'\r', static_cast<size_t>(pos));
        if (found == String::npos)
            return Length();
        pos = static_cast<int>(found) + 1;
    }
    return pos;
}

int Document::ParagraphEnd(int paragraph) const {
    size_t found = FText.find(u'\r', static_cast<size_t>(ParagraphStart(paragraph)));
    return found == String::npos ? Length() : static_cast<int>(found);
}

void Document::Append(const String& text, int formatIndex) {
    FText += text;
    FCharFormats.insert(FCharFormats.end(), text.size(), formatIndex);
}

void Document::AppendBreak(int formatIndex, const ParaFormat& next) {
    FText += u'\r';
    FCharFormats.push_back(formatIndex);
    FParas.push_back(next);
}

void Document::Replace(int start, int end, const String& text, const CharFormat& format) {
    Document piece;
    int index = piece.FormatIndex(format);
    String run;
    for (size_t i = 0; i < text.size(); ++i) {
        Char c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            piece.Append(run, index);
            run.clear();
            piece.AppendBreak(index, ParaFormat{});
        } else {
            run += c;
        }
    }
    piece.Append(run, index);
    // New paragraphs continue the format of the paragraph they are typed in.
    ParaFormat current = FParas[static_cast<size_t>(ParagraphOf(std::clamp(start, 0, Length())))];
    for (ParaFormat& para : piece.FParas)
        para = current;
    Replace(start, end, piece);
}

void Document::Replace(int start, int end, const Document& piece) {
    start = std::clamp(start, 0, Length());
    end = std::clamp(end, start, Length());
    int firstPara = ParagraphOf(start);
    int lastPara = ParagraphOf(end);
    // A paragraph's format lives in its break: the piece brings the breaks it holds, and the text after
    // its last one runs into the paragraph whose break ends the replaced range.
    std::vector<ParaFormat> paras = piece.FParas;
    paras.back() = FParas[static_cast<size_t>(lastPara)];
    FParas.erase(FParas.begin() + firstPara, FParas.begin() + lastPara + 1);
    FParas.insert(FParas.begin() + firstPara, paras.begin(), paras.end());

    std::vector<int> formats;
    formats.reserve(piece.FCharFormats.size());
    std::vector<int> mapped(piece.FFormats.size(), -1);
    for (int index : piece.FCharFormats) {
        int& to = mapped[static_cast<size_t>(index)];
        if (to < 0)
            to = FormatIndex(piece.FFormats[static_cast<size_t>(index)]);
        formats.push_back(to);
    }
    FText.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), piece.FText);
    FCharFormats.erase(FCharFormats.begin() + start, FCharFormats.begin() + end);
    FCharFormats.insert(FCharFormats.begin() + start, formats.begin(), formats.end());
}

String Document::Plain(int start, int end, bool crlf) const {
    start = std::clamp(start, 0, Length());
    end = std::clamp(end, start, Length());
    String out;
    out.reserve(static_cast<size_t>(end - start));
    for (int i = start; i < end; ++i) {
        Char c = FText[static_cast<size_t>(i)];
        out += c;
        if (c == u'\r' && crlf)
            out += u'\n';
    }
    return out;
}

} // namespace win32::richedit
