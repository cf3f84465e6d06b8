// TClipboard: the framework's view of the Win32 clipboard, for text, pictures and blocks of any format.
#pragma once

#include "platform/framework/Graphics.h"
#include "platform/win32/clipboard.h"

class TClipboard : public TPersistent {
    DECLARE_CLASS(TClipboard, TPersistent)

public:
    TClipboard() = default;
    ~TClipboard() override;

    // Open and Close nest: the clipboard stays open until the last Close, so that several formats can
    // be set together; the first one set empties it. Open raises Exception "Cannot open clipboard" while
    // another thread has it.
    void Open();
    void Close();
    void Clear();
    bool HasFormat(Word format) const;
    Integer FormatCount() const;
    Word Formats(Integer index) const;

    // The text (CF_UNICODETEXT); "" when there is none.
    String AsText();
    void SetAsText(const String& value);
    // Copies at most bufSize - 1 characters and a zero into buffer; answers the characters copied.
    Integer GetTextBuf(Char* buffer, Integer bufSize);
    void SetTextBuf(const Char* buffer);
    // A format's block; the clipboard keeps it (null when the format is not there).
    HGLOBAL GetAsHandle(Word format);
    // Hands value to the clipboard, which owns it from then on.
    void SetAsHandle(Word format, HGLOBAL value);
    // Copies size bytes into a new block of the format.
    void SetBuffer(Word format, const void* buffer, Integer size);

    // A TBitmap or a TPicture holding one goes as CF_DIB (CF_BITMAP made from it on request).
    void Assign(TPersistent* source) override;

protected:
    // Into a TBitmap or TPicture: the clipboard's picture, or EInvalidGraphic "Unsupported clipboard
    // format" when it has none.
    void AssignTo(TPersistent* dest) override;

private:
    void Adding();
    void AssignGraphic(TGraphic* graphic);

    Integer FOpenRefCount = 0;
    bool FEmptied = false; // this Open has emptied the clipboard for what it sets
};

// The text of a CF_UNICODETEXT block: up to its zero or the end of the block, whichever comes first; ""
// without a block.
String ClipboardBlockText(HGLOBAL data);

// The process's clipboard object, made at first use.
TClipboard* Clipboard();
// Puts another object in its place (null: a new one at next use); answers the previous one, which the
// caller now frees.
TClipboard* SetClipboard(TClipboard* clipboard);
