// The framework's rich edit on the system's rich edit window class: TCustomRichEdit/TRichEdit with
// Lines that load and save rich text, the character attributes of the selection and of new text, and
// the paragraph attributes of the selected paragraphs.
#pragma once

#include <memory>
#include <string>

#include "platform/framework/StdEdit.h"
#include "platform/win32/richedit.h"

class TCustomRichEdit;

ZELMOR_ENUM(TAttributeType, atSelected, atDefaultText)

// Character attributes read from and written to the window through EM_GETCHARFORMAT and
// EM_SETCHARFORMAT, for the selection (atSelected) or for text that has none of its own
// (atDefaultText). Reading and writing make the window.
class TTextAttributes : public TPersistent {
    DECLARE_CLASS(TTextAttributes, TPersistent)

public:
    TTextAttributes(TCustomRichEdit* richEdit, TAttributeType type) : FRichEdit(richEdit), FType(type) {}

    // Copies a TFont or another TTextAttributes.
    void Assign(TPersistent* source) override;

    String Name() const;
    void SetName(const String& value);
    // Points.
    Integer Size() const;
    void SetSize(Integer value);
    TFontStyles Style() const;
    void SetStyle(TFontStyles value);
    // clWindowText for text in the window's own colour.
    TColor Color() const;
    void SetColor(TColor value);

protected:
    void AssignTo(TPersistent* dest) override;

private:
    CHARFORMAT2W Get() const;
    void Set(const CHARFORMAT2W& format);

    TCustomRichEdit* FRichEdit;
    TAttributeType FType;
};

// Paragraph attributes of the paragraphs the selection touches, through EM_GETPARAFORMAT and
// EM_SETPARAFORMAT. Indents are in points.
class TParaAttributes : public TPersistent {
    DECLARE_CLASS(TParaAttributes, TPersistent)

public:
    explicit TParaAttributes(TCustomRichEdit* richEdit) : FRichEdit(richEdit) {}

    void Assign(TPersistent* source) override;

    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    // The first line's indent from the left edge.
    Integer FirstIndent() const;
    void SetFirstIndent(Integer value);
    // The other lines' indent relative to the first line's.
    Integer LeftIndent() const;
    void SetLeftIndent(Integer value);
    Integer RightIndent() const;
    void SetRightIndent(Integer value);

private:
    PARAFORMAT2 Get() const;
    void Set(DWORD mask, const PARAFORMAT2& format);

    TCustomRichEdit* FRichEdit;
};

using TRichEditResizeEvent = std::function<void(TObject* sender, const TRect& rect)>;

class TCustomRichEdit : public TCustomMemo {
    DECLARE_CLASS(TCustomRichEdit, TCustomMemo)

public:
    explicit TCustomRichEdit(TComponent* owner);
    ~TCustomRichEdit() override;

    // The paragraphs; LoadFromStream and SaveToStream read and write rich text, or with PlainText the
    // text in the system's code page; the stream's encoding is not used.
    TStrings* Lines() const { return FRichLines.get(); }
    void SetLines(TStrings* value) { FRichLines->Assign(value); }
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool value) { FPlainText = value; }
    TTextAttributes* SelAttributes() const { return FSelAttributes.get(); }
    void SetSelAttributes(TTextAttributes* value) { FSelAttributes->Assign(value); }
    TTextAttributes* DefAttributes() const { return FDefAttributes.get(); }
    void SetDefAttributes(TTextAttributes* value) { FDefAttributes->Assign(value); }
    TParaAttributes* Paragraph() const { return FParagraph.get(); }

    TRichEditResizeEvent OnResizeRequest;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    // Fires OnResizeRequest with the rectangle the window asks for.
    virtual void RequestSize(const TRect& rect);

private:
    std::unique_ptr<TStrings> FRichLines;
    std::unique_ptr<TTextAttributes> FSelAttributes;
    std::unique_ptr<TTextAttributes> FDefAttributes;
    std::unique_ptr<TParaAttributes> FParagraph;
    bool FPlainText = false;
    // The document as RTF while the window is being made again, so its formatting survives.
    std::string FSaved;
    bool FHasSaved = false;
};

class TRichEdit : public TCustomRichEdit {
    DECLARE_CLASS(TRichEdit, TCustomRichEdit)

public:
    using TCustomRichEdit::TCustomRichEdit;
};
