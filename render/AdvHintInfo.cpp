// TAdvHintInfo: the rich hint record.
#include "render/AdvHintInfo.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TAdvHintInfo, PROPERTY(Picture), PROPERTY(ShowHelp).Default(false), PROPERTY(Notes),
             PROPERTY(Title))

TAdvHintInfo::TAdvHintInfo()
    : FPicture(std::make_unique<TGDIPPicture>()), FNotes(std::make_unique<TStringList>()) {}

TAdvHintInfo::~TAdvHintInfo() = default;

void TAdvHintInfo::Assign(TPersistent* source) {
    auto* info = dynamic_cast<TAdvHintInfo*>(source);
    if (info == nullptr || info == this)
        return;
    FTitle = info->FTitle;
    FNotes->Assign(info->FNotes.get());
    FShowHelp = info->FShowHelp;
    FPicture->Assign(info->FPicture.get());
    FWideTitle = info->FWideTitle;
    FWideNotes = info->FWideNotes;
}

bool TAdvHintInfo::IsEmpty() const {
    return FTitle.empty() && FNotes->Text().empty();
}
