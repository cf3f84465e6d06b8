// The picture control: TIPicture's bytes, GIF frames and decoding, the timer window, and TAdvPicture's
// painting, animation and picture dialog.
#include "controls/AdvPicture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/framework/Clipbrd.h"
#include "platform/framework/ExtDlgs.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/winuser.h"

using AdvPicture::bAlways;
using AdvPicture::bDesign;
using AdvPicture::bEmpty;

DEFINE_CLASS(TIPicture, PROPERTY(Stretch).Default(false), PROPERTY(Frame).Default(0), EVENT(OnFrameChange),
             EVENT(OnClear), EVENT(OnBeforeLoad), EVENT(OnAfterLoad))
DEFINE_CLASS(THelperWnd, EVENT(OnTimer))
DEFINE_CLASS(TAdvPicture, PROPERTY(Width).Default(100), PROPERTY(Height).Default(100),
             PROPERTY(AllowSelectOnClick).Default(false), PROPERTY(Animate).Default(false),
             PROPERTY(AutoSize).Default(false), PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clBlack),
             PROPERTY(BorderStyle).Default(bDesign), PROPERTY(BorderPenStyle).Default(psDashDot),
             PROPERTY(EmptyText), PROPERTY(ImageTypes).Default(TImageFileTypes{}), PROPERTY(Picture),
             PROPERTY(PicturePosition).Default(bpTopLeft), PROPERTY(StretchMode).Default(smNever),
             PROPERTY(Version), EVENT(OnFrameChange), EVENT(OnPictureSelect), EVENT(OnPictureSelected),
             EVENT(OnContextPopup))

void AdvPictureStartup() {
    static bool started = false;
    if (started)
        return;
    started = true;
    RegisterClasses({TAdvPicture::StaticClass(), TIPicture::StaticClass()});
}

using render::GifBytes;

// ==== TIPicture ====

TIPicture::TIPicture() : FDatastream(std::make_unique<TMemoryStream>()) {}

TIPicture::~TIPicture() = default;

bool TIPicture::IsGIF() const {
    bool result = false;
    if (FDatastream->Size() >= 5)
        result = std::memcmp(FDatastream->Memory(), "GIF8", 4) == 0;
    FDatastream->SetPosition(0);
    return result;
}

Integer TIPicture::FrameCount() {
    if (FFrameCount != -1)
        return FFrameCount;
    if (!IsGIF())
        return -1;
    const GifBytes gif = render::GifBytesOf(*FDatastream);
    FFrameCount = gif.CountFrames();
    return FFrameCount;
}

Integer TIPicture::GetFrameTime(Integer frame) {
    Integer result = -1;
    if (IsGIF()) {
        const GifBytes gif = render::GifBytesOf(*FDatastream);
        Integer n = 0;
        for (Int64 p = 0; p + 8 < gif.size; ++p) {
            if (!gif.FrameStartAt(p) || ++n != frame)
                continue;
            const Byte flags = gif.data[p + 3];
            FFrameTransp = (flags & 1) != 0;
            FFrameDisposal = static_cast<Word>((flags >> 2) & 7);
            result = gif.WordAt(p + 4);
            if (result == 0)
                result = 5;
            break;
        }
    }
    FDatastream->SetPosition(0);
    return result;
}

void TIPicture::LoadPicture() {
    FFrameXPos = 0;
    FFrameYPos = 0;
    FFrameXSize = 0;
    FFrameYSize = 0;
    FAnimMaxX = 0;
    FAnimMaxY = 0;
    TMemoryStream bytes;
    if (IsGIF() && FrameCount() > 0) {
        // Keep the header, the colour table and what comes before the first frame, leave out the frames
        // before the one shown, and keep that frame and the rest: the loader shows the first frame it
        // finds.
        const GifBytes gif = render::GifBytesOf(*FDatastream);
        FAnimMaxX = gif.WordAt(6);
        FAnimMaxY = gif.WordAt(8);
        std::vector<Byte> kept;
        kept.reserve(static_cast<size_t>(gif.size));
        Integer n = 1;
        bool skip = false;
        for (Int64 p = 0; p < gif.size; ++p) {
            if (gif.FrameBlockAt(p)) {
                // A frame cut short before its descriptor's size has no place or size of its own.
                if (n == FFrame && gif.HasGeometry(p)) {
                    FFrameXPos = gif.WordAt(p + 9);
                    FFrameYPos = gif.WordAt(p + 11);
                    FFrameXSize = gif.WordAt(p + 13);
                    FFrameYSize = gif.WordAt(p + 15);
                }
                ++n;
                skip = FFrame >= n;
            }
            if (!skip)
                kept.push_back(gif.data[p]);
        }
        if (!kept.empty())
            bytes.WriteBuffer(kept.data(), static_cast<Integer>(kept.size()));
    } else if (FDatastream->Size() > 0) {
        bytes.WriteBuffer(FDatastream->Memory(), static_cast<Integer>(FDatastream->Size()));
    }
    FDatastream->SetPosition(0);
    bytes.SetPosition(0);

    HRESULT result = S_OK;
    render::ComRef<IStream> stream = render::NewPictureStream(bytes, result);
    if (FAILED(result))
        throw Exception(Consts::SImageStreamError);
    if (!stream)
        throw Exception(Consts::SImageEmptyStream);
    gpPicture.Reset();
    void* picture = nullptr;
    result = OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.Size()), FALSE, IID_IPicture, &picture);
    if (FAILED(result))
        throw Exception(Consts::SImageInvalidFormat);
    if (picture == nullptr)
        throw Exception(Consts::SImageLoadError);
    *gpPicture.Put() = static_cast<IPicture*>(picture);
}

void TIPicture::TakeBytes(TStream& stream) {
    FDatastream->LoadFromStream(stream);
    FDatastream->SetPosition(0);
    FIsEmpty = false;
    FFrame = 1;
    FFrameCount = -1;
    FAnimMaxX = 0;
    FAnimMaxY = 0;
}

void TIPicture::LoadFromFile(const String& fileName) {
    if (OnBeforeLoad)
        OnBeforeLoad(this);
    try {
        TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
        TakeBytes(file);
        LoadPicture();
        if (OnClear)
            OnClear(this);
        Changed(this);
    } catch (const std::exception&) {
        // A file that cannot be read or decoded leaves no picture; the caller is not told.
        FIsEmpty = true;
    }
    if (OnAfterLoad)
        OnAfterLoad(this);
}

void TIPicture::LoadFromStream(TStream& stream) {
    if (OnBeforeLoad)
        OnBeforeLoad(this);
    TakeBytes(stream);
    LoadPicture();
    Changed(this);
    if (OnAfterLoad)
        OnAfterLoad(this);
}

void TIPicture::SaveToStream(TStream& stream) {
    FDatastream->SaveToStream(stream);
    FDatastream->SetPosition(0);
}

void TIPicture::ReadData(TStream& stream) {
    FDatastream->LoadFromStream(stream);
    FDatastream->SetPosition(0);
    FIsEmpty = false;
    FFrameCount = -1;
    LoadPicture();
}

void TIPicture::WriteData(TStream& stream) {
    SaveToStream(stream);
}

void TIPicture::LoadFromResourceName(NativeUInt instance, const String& resName) {
    TMemoryStream bytes;
    if (render::ReadRCData(instance, resName.c_str(), bytes))
        LoadFromStream(bytes);
}

void TIPicture::LoadFromResourceID(NativeUInt instance, Integer resID) {
    TMemoryStream bytes;
    if (!render::ReadRCData(instance, MAKEINTRESOURCEW(static_cast<std::uintptr_t>(resID)), bytes))
        throw EResNotFound(Consts::SResNotFound, {IntToStr(resID)});
    LoadFromStream(bytes);
}

void TIPicture::LoadFromURL(const String& url) {
    String rest;
    switch (render::SplitPictureUrl(url, rest)) {
    case render::UrlKind::Resource:
        FID = url;
        if (!rest.empty())
            LoadFromResourceName(reinterpret_cast<NativeUInt>(GetModuleHandleW(nullptr)), rest);
        break;
    case render::UrlKind::File:
        FID = url;
        if (!rest.empty())
            LoadFromFile(rest);
        break;
    case render::UrlKind::Other:
        break;
    }
}

void TIPicture::Assign(TPersistent* source) {
    // A picture assigned to itself would empty its own bytes while copying them.
    if (source == this)
        return;
    FIsEmpty = true;
    FFrameCount = -1;
    gpPicture.Reset();
    if (source == nullptr) {
        FDatastream->Clear();
        Changed(this);
        if (OnClear)
            OnClear(this);
        return;
    }
    if (auto* picture = dynamic_cast<TIPicture*>(source)) {
        if (!picture->FIsEmpty) {
            FDatastream->LoadFromStream(*picture->FDatastream);
            FDatastream->SetPosition(0);
            FIsEmpty = false;
            LoadPicture();
        } else {
            FDatastream->Clear();
        }
        Changed(this);
        return;
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
        FDatastream->Clear();
        graphic->SaveToStream(*FDatastream);
        FDatastream->SetPosition(0);
        FIsEmpty = false;
        Changed(this);
        return;
    }
    if (auto* clipboard = dynamic_cast<TClipboard*>(source)) {
        if (clipboard->HasFormat(CF_DIB)) {
            HGLOBAL memory = clipboard->GetAsHandle(CF_DIB);
            const void* bits = memory != nullptr ? GlobalLock(memory) : nullptr;
            if (bits != nullptr) {
                FDatastream->Clear();
                FDatastream->WriteBuffer(bits, static_cast<Integer>(GlobalSize(memory)));
                FDatastream->SetPosition(0);
                FIsEmpty = false;
                GlobalUnlock(memory);
            }
        }
        Changed(this);
        return;
    }
    if (auto* picture = dynamic_cast<TPicture*>(source)) {
        FDatastream->Clear();
        if (picture->Graphic() != nullptr) {
            picture->Graphic()->SaveToStream(*FDatastream);
            FDatastream->SetPosition(0);
        }
        if (FDatastream->Size() > 0) {
            FIsEmpty = false;
            LoadPicture();
        }
        Changed(this);
        return;
    }
    TGraphic::Assign(source);
}

void TIPicture::SetFrame(Integer value) {
    FFrame = value;
    if (FDatastream->Size() == 0)
        return;
    LoadPicture();
    if (OnFrameChange)
        OnFrameChange(this);
}

Integer TIPicture::Width() const {
    OLE_XSIZE_HIMETRIC width = 0;
    if (!gpPicture || FAILED(gpPicture->get_Width(&width)))
        return 0;
    return MulDiv(width, FLogPixX, 2540);
}

Integer TIPicture::Height() const {
    OLE_YSIZE_HIMETRIC height = 0;
    if (!gpPicture || FAILED(gpPicture->get_Height(&height)))
        return 0;
    return MulDiv(height, FLogPixY, 2540);
}

Integer TIPicture::GetMaxWidth() const {
    if (!gpPicture)
        return 0;
    return FAnimMaxX != 0 ? FAnimMaxX : Width();
}

Integer TIPicture::GetMaxHeight() const {
    if (!gpPicture)
        return 0;
    return FAnimMaxY != 0 ? FAnimMaxY : Height();
}

void TIPicture::Render(HDC dc, const TRect& rect) {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    gpPicture->get_Width(&width);
    gpPicture->get_Height(&height);
    RECT bounds = rect;
    // A HIMETRIC picture counts upwards from its bottom edge: start at the bottom, go up.
    gpPicture->Render(dc, rect.Left, rect.Bottom, rect.Width(), -rect.Height(), 0, 0, width, height, &bounds);
}

void TIPicture::Draw(TCanvas* canvas, const TRect& rect) {
    if (FIsEmpty || !gpPicture)
        return;
    TRect target = rect;
    // The loader shows a GIF frame on its whole logical screen, the frame already at its place; a
    // picture of the frame alone is moved there.
    const bool wholeScreen = FAnimMaxX != 0 && Width() == FAnimMaxX && Height() == FAnimMaxY;
    if (!wholeScreen)
        target = TRect(rect.Left + FFrameXPos, rect.Top + FFrameYPos, rect.Right + FFrameXPos,
                       rect.Bottom + FFrameYPos);
    if (!FDoubleBuffered) {
        Render(canvas->Handle(), target);
        return;
    }
    TBitmap buffer;
    buffer.SetSize(Width(), Height());
    TCanvas* bufferCanvas = buffer.Canvas();
    bufferCanvas->Pen()->SetColor(FBackgroundColor);
    bufferCanvas->Brush()->SetColor(FBackgroundColor);
    bufferCanvas->Rectangle(0, 0, Width(), Height());
    Render(bufferCanvas->Handle(), target);
    canvas->Draw(0, 0, &buffer);
}

// ==== THelperWnd ====

namespace {
constexpr UINT_PTR AnimationTimerId = 500;
constexpr UINT AnimationInterval = 10;
} // namespace

THelperWnd::THelperWnd(TComponent* owner) : TWinControl(owner) {}

void THelperWnd::CreateWnd() {
    TWinControl::CreateWnd();
    SetTimer(WindowHandle(), AnimationTimerId, AnimationInterval, nullptr);
}

void THelperWnd::DestroyWnd() {
    KillTimer(WindowHandle(), AnimationTimerId);
    TWinControl::DestroyWnd();
}

void THelperWnd::Dispatch(TMessage& message) {
    if (message.Msg == WM_TIMER) {
        if (OnTimer)
            OnTimer(this);
        return;
    }
    TWinControl::Dispatch(message);
}

// ==== TAdvPicture ====

TAdvPicture::TAdvPicture(TComponent* owner)
    : TGraphicControl(owner), FIPicture(std::make_unique<TIPicture>()) {
    SetBounds(Left(), Top(), 100, 100);
    FIPicture->OnChange = [this](TObject* sender) { PictureChangedEvent(sender); };
    FIPicture->OnClear = [this](TObject* sender) { PictureCleared(sender); };
    FIPicture->OnFrameChange = [this](TObject* sender) { FrameChanged(sender); };
    FIPicture->OnBeforeLoad = [this](TObject* sender) { BeforeLoad(sender); };
    FIPicture->OnAfterLoad = [this](TObject* sender) { AfterLoad(sender); };
}

TAdvPicture::~TAdvPicture() {
    // The timer window's handler points back here: it goes first.
    FHelperWnd.reset();
}

void TAdvPicture::SetPicture(TIPicture* value) {
    FIPicture->Assign(value);
    Invalidate();
}

void TAdvPicture::SetAnimate(bool value) {
    if (FAnimate == value)
        return;
    FAnimate = value;
    if (ComponentState().Contains(csDesigning))
        return;
    if (!value) {
        FHelperWnd.reset();
        return;
    }
    FHelperWnd = std::make_unique<THelperWnd>(nullptr);
    FHelperWnd->SetVisible(false);
    FHelperWnd->SetBounds(0, 0, 0, 0);
    FHelperWnd->SetParent(Parent());
    FTimerCount = 0;
    FNextCount = 0;
    FHelperWnd->OnTimer = [this](TObject* sender) { Timer(sender); };
    if (Parent() != nullptr && Parent()->HandleAllocated())
        FHelperWnd->HandleNeeded();
}

void TAdvPicture::ApplyAutoSize() {
    SetBounds(Left(), Top(), FIPicture->Width(), FIPicture->Height());
}

void TAdvPicture::SetAutoSize(bool value) {
    FAutoSize = value;
    if (value && !FIPicture->Empty())
        ApplyAutoSize();
}

void TAdvPicture::SetPicturePosition(TPicturePosition value) {
    if (FPicturePosition == value)
        return;
    FPicturePosition = value;
    Invalidate();
}

void TAdvPicture::SetStretchMode(TStretchMode value) {
    if (FStretchMode == value)
        return;
    FStretchMode = value;
    Invalidate();
}

void TAdvPicture::SetBorderColor(TColor value) {
    if (FBorderColor == value)
        return;
    FBorderColor = value;
    Invalidate();
}

void TAdvPicture::SetBorderStyle(AdvPicture::TBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    Invalidate();
}

void TAdvPicture::SetBorderPenStyle(TPenStyle value) {
    if (FBorderPenStyle == value)
        return;
    FBorderPenStyle = value;
    Invalidate();
}

void TAdvPicture::SetEmptyText(const String& value) {
    if (FEmptyText == value)
        return;
    FEmptyText = value;
    Invalidate();
}

void TAdvPicture::SetDoubleBuffered(bool value) {
    FDoubleBuffered = value;
    FIPicture->SetDoubleBuffered(value);
}

void TAdvPicture::SetBackgroundColor(TColor value) {
    FBackgroundColor = value;
    FIPicture->SetBackgroundColor(value);
}

void TAdvPicture::Loaded() {
    TGraphicControl::Loaded();
    HDC screen = GetDC(nullptr);
    FIPicture->FLogPixX = GetDeviceCaps(screen, LOGPIXELSX);
    FIPicture->FLogPixY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (!FIPicture->Empty())
        FAnimatedGif = FIPicture->IsGIF() && FIPicture->FrameCount() > 1;
}

void TAdvPicture::PictureChangedEvent(TObject*) {
    if (FAutoSize && !FIPicture->Empty())
        ApplyAutoSize();
    if (!FIPicture->Empty()) {
        FAnimatedGif = FIPicture->IsGIF() && FIPicture->FrameCount() > 1;
        FIPicture->SetFrame(0);
    }
    PictureChanged();
}

void TAdvPicture::PictureCleared(TObject*) {
    FRefresh = true;
    Repaint();
    FRefresh = false;
}

void TAdvPicture::BeforeLoad(TObject*) {
    FOldAnimate = FAnimate;
    SetAnimate(false);
}

void TAdvPicture::AfterLoad(TObject*) {
    SetAnimate(FOldAnimate);
}

void TAdvPicture::FrameChanged(TObject*) {
    Integer disposal = FIPicture->FrameDisposal();
    if (disposal == 0 && FDefaultDisposal != -1)
        disposal = FDefaultDisposal;
    switch (disposal) {
    case 0:
        Repaint();
        break;
    case 1:
        Invalidate();
        break;
    case 2:
        if (Parent() != nullptr && Parent()->HandleAllocated()) {
            RECT frame{FIPicture->FrameXPos(), FIPicture->FrameYPos(),
                       FIPicture->FrameXPos() + FIPicture->FrameXSize(),
                       FIPicture->FrameYPos() + FIPicture->FrameYSize()};
            InvalidateRect(Parent()->WindowHandle(), &frame, TRUE);
        }
        break;
    case 3:
    case 4:
        Repaint();
        break;
    default:
        break;
    }
    if (OnFrameChange)
        OnFrameChange(this);
}

void TAdvPicture::Timer(TObject*) {
    if (!FAnimatedGif || FIPicture->Empty())
        return;
    if (FTimerCount == FNextCount) {
        Integer frame = FIPicture->Frame() + 1;
        if (frame > FIPicture->FrameCount())
            frame = 1;
        FIPicture->SetFrame(frame);
        // A delay that cannot be read plays as the shortest one, so that the animation goes on.
        Integer delay = FIPicture->GetFrameTime(frame);
        FNextCount += delay < 0 ? 5 : delay;
    }
    ++FTimerCount;
}

void TAdvPicture::PaintPicture() {
    TCanvas* canvas = Canvas();
    TIPicture* picture = FIPicture.get();
    const Integer width = Width();
    const Integer height = Height();
    const Integer fullWidth = picture->GetMaxWidth();
    const Integer fullHeight = picture->GetMaxHeight();
    // A picture of no size has nothing to place; stretching or tiling it would divide by its size or
    // never end.
    if (fullWidth <= 0 || fullHeight <= 0)
        return;
    Integer mw = fullWidth;
    Integer mh = fullHeight;
    double rx = static_cast<double>(mw) / width;
    double ry = static_cast<double>(mh) / height;
    if (rx > 1 || ry > 1) {
        if (rx > ry) {
            mh = static_cast<Integer>(std::trunc(mh / rx));
            mw = width;
        } else {
            mw = static_cast<Integer>(std::trunc(mw / ry));
            mh = height;
        }
    }
    const bool shrink = FStretchMode == smShrink;
    const Integer usedWidth = shrink ? mw : fullWidth;
    const Integer usedHeight = shrink ? mh : fullHeight;
    const Integer dw = std::max(0, width - usedWidth);
    const Integer dh = std::max(0, height - usedHeight);
    auto place = [&](Integer x, Integer y, const TRect& shrunk) {
        if (shrink)
            canvas->StretchDraw(shrunk, picture);
        else
            canvas->Draw(x, y, picture);
    };
    switch (FPicturePosition) {
    case bpTopLeft:
        place(0, 0, TRect(0, 0, mw, mh));
        break;
    case bpTopRight:
        place(dw, 0, TRect(dw, 0, dw + mw, mh));
        break;
    case bpBottomLeft:
        place(0, dh, TRect(0, dh, mw, height));
        break;
    case bpBottomRight:
        place(dw, dh, TRect(dw, dh, width, height));
        break;
    case bpCenter:
        place(dw / 2, dh / 2, TRect(dw / 2, dh / 2, mw + dw / 2, mh + dh / 2));
        break;
    case bpTiled:
        for (Integer y = 0; y < height; y += fullHeight)
            for (Integer x = 0; x < width; x += fullWidth)
                canvas->Draw(x, y, picture);
        break;
    case bpStretched: {
        const auto extra = static_cast<Integer>(std::nearbyint(static_cast<double>(height) / fullHeight));
        canvas->StretchDraw(TRect(0, -1, width, height + extra + 1), picture);
        break;
    }
    case bpStretchedWithAspect: {
        const double ax = static_cast<double>(fullWidth) / width;
        const double ay = static_cast<double>(fullHeight) / height;
        if (ax > ay)
            canvas->StretchDraw(TRect(0, 0, width, static_cast<Integer>(std::trunc(fullHeight / ax))),
                                picture);
        else
            canvas->StretchDraw(TRect(0, 0, static_cast<Integer>(std::trunc(fullWidth / ay)), height),
                                picture);
        break;
    }
    }
}

void TAdvPicture::PaintEmptyText() {
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    const TRect client = ClientRect();
    TRect measure(client.Left + 4, client.Top + 4, client.Right - 4, client.Bottom - 4);
    String text = FEmptyText;
    canvas->TextRect(measure, text, TTextFormat{tfCalcRect, tfWordBreak, tfCenter});
    const Integer textHeight = measure.Height();
    TRect target(client.Left + 4, client.Top + (Height() - textHeight) / 2 + 4, client.Right - 4,
                 client.Bottom - 4);
    text = FEmptyText;
    canvas->TextRect(target, text, TTextFormat{tfWordBreak, tfCenter});
}

void TAdvPicture::Paint() {
    if (FRefresh || !Visible() || !FIPicture)
        return;
    const bool empty = FIPicture->Empty();
    if (!empty) {
        if (Width() <= 0 || Height() <= 0)
            return;
        PaintPicture();
    }
    const bool designing = ComponentState().Contains(csDesigning);
    const bool border = FBorderStyle == bAlways || (FBorderStyle == bEmpty && empty) ||
                        (designing && FBorderStyle == bDesign);
    if (border) {
        Canvas()->Brush()->SetStyle(bsClear);
        Canvas()->Pen()->SetStyle(FBorderPenStyle);
        Canvas()->Pen()->SetWidth(1);
        Canvas()->Pen()->SetColor(FBorderColor);
        Canvas()->Rectangle(ClientRect());
    }
    if (!FEmptyText.empty() && empty)
        PaintEmptyText();
}

String PictureDialogFilter(TImageFileTypes types) {
    String filter;
    String masks;
    auto add = [&](TImageFileType type, const Char* part, const Char* mask) {
        if (!types.Contains(type))
            return;
        if (!filter.empty()) {
            filter += u"|";
            masks += u";";
        }
        filter += part;
        masks += mask;
    };
    add(itJPEG, u"JPG Images (*.jpg)|*.jpg|JPEG Images (*.jpeg)|*.jpeg", u"*.jpg;*.jpeg");
    add(itGIF, u"GIF Images (*.gif)|*.gif", u"*.gif");
    add(itBMP, u"Bitmap images (*.bmp)|*.bmp", u"*.bmp");
    add(itPNG, u"PNG images (*.png)|*.png", u"*.png");
    add(itICO, u"Icons (*.ico)|*.ico", u"*.ico");
    add(itEMF, u"Enhanced metafiles (*.emf)|*.emf", u"*.emf");
    if (types.Contains(itAll) && !filter.empty())
        filter = u"All (" + masks + u")|" + masks + u"|" + filter;
    return filter;
}

void TAdvPicture::DoClick() {
    TGraphicControl::DoClick();
    if (!FAllowSelectOnClick)
        return;
    TOpenPictureDialog dialog(nullptr);
    dialog.SetFilter(PictureDialogFilter(FImageTypes));
    if (!dialog.Execute())
        return;
    const String fileName = dialog.FileName();
    bool allow = true;
    DoPictureSelect(fileName, allow);
    if (!allow)
        return;
    FIPicture->LoadFromFile(fileName);
    DoPictureSelected(fileName);
}

void TAdvPicture::DoPictureSelect(const String& fileName, bool& allow) {
    if (OnPictureSelect)
        OnPictureSelect(this, fileName, allow);
}

void TAdvPicture::DoPictureSelected(const String& fileName) {
    if (OnPictureSelected)
        OnPictureSelected(this, fileName);
}
