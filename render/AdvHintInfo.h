// TAdvHintInfo: the settings of a rich (Office-style) hint: title, notes, picture and a help line; and
// IQELOfficeHint, through which a control names the record that applies at a point.
#pragma once

#include <memory>

#include "platform/framework/Graphics.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/com.h"
#include "render/GDIPicture.h"

class TAdvHintInfo : public TPersistent {
    DECLARE_CLASS(TAdvHintInfo, TPersistent)

public:
    TAdvHintInfo();
    ~TAdvHintInfo() override;

    // Copies Title, Notes, ShowHelp, Picture, WideTitle and WideNotes from another TAdvHintInfo; any
    // other source changes nothing and raises nothing.
    void Assign(TPersistent* source) override;
    // True when the title and the notes' text are both empty (picture, ShowHelp and the wide texts
    // are not looked at).
    bool IsEmpty() const;

    TGDIPPicture* Picture() const { return FPicture.get(); }
    // Assigns value into the record's own picture.
    void SetPicture(TGDIPPicture* value) { FPicture->Assign(value); }
    bool ShowHelp() const { return FShowHelp; }
    void SetShowHelp(bool value) { FShowHelp = value; }
    TStringList* Notes() const { return FNotes.get(); }
    // Assigns the lines of value into the record's own list.
    void SetNotes(TStringList* value) { FNotes->Assign(value); }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& value) { FTitle = value; }
    const String& WideTitle() const { return FWideTitle; }
    void SetWideTitle(const String& value) { FWideTitle = value; }
    const String& WideNotes() const { return FWideNotes; }
    void SetWideNotes(const String& value) { FWideNotes = value; }

private:
    std::unique_ptr<TGDIPPicture> FPicture;
    bool FShowHelp = false;
    std::unique_ptr<TStringList> FNotes;
    String FTitle;
    String FWideTitle;
    String FWideNotes;
};

inline constexpr IID IID_IQELOfficeHint = {
    0xB7E98AA5, 0x9E7A, 0x4036, {0xBF, 0x26, 0xAB, 0x2F, 0x55, 0x7A, 0x5C, 0xDD}};

// Implemented by controls that show rich hints: the record to show at a point of the client area; the
// control keeps it.
class IQELOfficeHint {
public:
    virtual TAdvHintInfo* HintInfoAtPoint(TPoint P) = 0;

protected:
    ~IQELOfficeHint() = default;
};
