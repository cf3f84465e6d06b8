// TCustomImageList: images kept as pixels with their masks as alpha, drawn through the blending blit.
#include "platform/framework/ImgList.h"

#include <algorithm>

#include "platform/framework/GraphicsPrivate.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winerror.h"

DEFINE_CLASS(TCustomImageList)

DEFINE_CLASS(TImageList, PROPERTY(BkColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(BlendColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(DrawingStyle).Default(dsNormal), PROPERTY(Height).Default(16),
             PROPERTY(ImageType).Default(itImage), PROPERTY(Masked).Default(true),
             PROPERTY(Width).Default(16), EVENT(OnChange))

namespace {

std::uint32_t ToArgb(COLORREF c) {
    return 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

std::uint32_t Mix(std::uint32_t p, std::uint32_t c, std::uint32_t percent) {
    auto channel = [&](int shift) {
        std::uint32_t a = (p >> shift) & 0xFF, b = (c >> shift) & 0xFF;
        return ((a * (100 - percent) + b * percent + 50) / 100) << shift;
    };
    return (p & 0xFF000000) | channel(16) | channel(8) | channel(0);
}

// The shape of an image in one colour, for drawing it disabled.
codecs::Image Silhouette(const codecs::Image& image, std::uint32_t argb) {
    codecs::Image result = image;
    for (std::uint32_t& p : result.pixels)
        p = (p >> 24) >= 128 ? argb : 0;
    result.hasAlpha = true;
    return result;
}

} // namespace

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::TCustomImageList(Integer width, Integer height) : TComponent(nullptr) {
    FWidth = width;
    FHeight = height;
}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink* link : FChangeLinks)
        link->FSender = nullptr;
}

TChangeLink::~TChangeLink() {
    if (FSender)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomImageList::RegisterChanges(TChangeLink* value) {
    if (value == nullptr || value->FSender == this)
        return;
    if (value->FSender)
        value->FSender->UnRegisterChanges(value);
    value->FSender = this;
    FChangeLinks.push_back(value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* value) {
    auto found = std::find(FChangeLinks.begin(), FChangeLinks.end(), value);
    if (found == FChangeLinks.end())
        return;
    FChangeLinks.erase(found);
    value->FSender = nullptr;
}

void TCustomImageList::Change() {
    // A link may unregister (or a control drop the list) while it hears the change.
    std::vector<TChangeLink*> links = FChangeLinks;
    for (TChangeLink* link : links)
        if (std::find(FChangeLinks.begin(), FChangeLinks.end(), link) != FChangeLinks.end())
            link->Change();
    if (OnChange)
        OnChange(this);
}

void TCustomImageList::Assign(TPersistent* source) {
    auto* list = dynamic_cast<TCustomImageList*>(source);
    if (list == nullptr) {
        TComponent::Assign(source);
        return;
    }
    if (list == this)
        return;
    FImages = list->FImages;
    FWidth = list->FWidth;
    FHeight = list->FHeight;
    FBkColor = list->FBkColor;
    FBlendColor = list->FBlendColor;
    FDrawingStyle = list->FDrawingStyle;
    FImageType = list->FImageType;
    FMasked = list->FMasked;
    Change();
}

void TCustomImageList::CheckIndex(Integer index) const {
    if (index < 0 || index >= Count())
        throw EInvalidOperation(Consts::SImageIndexError);
}

std::vector<codecs::Image> TCustomImageList::Pieces(TBitmap* image, TBitmap* mask,
                                                    const TColor* maskColor) const {
    if (image == nullptr || image->Empty())
        throw EInvalidOperation(Consts::SInvalidImageList);
    codecs::Image source = image->ToImage();
    bool alpha = image->PixelFormat() == pf32bit && image->AlphaFormat() != afIgnored;
    if (!alpha)
        for (std::uint32_t& p : source.pixels)
            p |= 0xFF000000;
    if (mask != nullptr && !mask->Empty()) {
        codecs::Image m = mask->ToImage();
        for (int y = 0; y < std::min(source.height, m.height); ++y)
            for (int x = 0; x < std::min(source.width, m.width); ++x)
                if (m.Pixel(x, y) & 0xFFFFFF)
                    source.SetPixel(x, y, source.Pixel(x, y) & 0xFFFFFF);
    } else if (maskColor != nullptr) {
        std::uint32_t key = *maskColor == clDefault ? source.Pixel(0, source.height - 1) & 0xFFFFFF
                                                    : ToArgb(ColorToRGB(*maskColor)) & 0xFFFFFF;
        for (std::uint32_t& p : source.pixels)
            if ((p & 0xFFFFFF) == key)
                p &= 0xFFFFFF;
    }
    int count = std::max(1, source.width / FWidth);
    std::vector<codecs::Image> pieces;
    for (int i = 0; i < count; ++i) {
        codecs::Image piece;
        piece.width = FWidth;
        piece.height = FHeight;
        piece.hasAlpha = true;
        piece.pixels.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), 0);
        for (int y = 0; y < std::min(FHeight, source.height); ++y)
            for (int x = 0; x < FWidth && i * FWidth + x < source.width; ++x)
                piece.SetPixel(x, y, source.Pixel(i * FWidth + x, y));
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

Integer TCustomImageList::AddPieces(std::vector<codecs::Image>&& pieces) {
    Integer first = Count();
    for (codecs::Image& piece : pieces)
        FImages.push_back(std::move(piece));
    Change();
    return first;
}

Integer TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    return AddPieces(Pieces(image, mask, nullptr));
}

Integer TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    return AddPieces(Pieces(image, nullptr, &maskColor));
}

Integer TCustomImageList::AddIcon(TIcon* icon) {
    const codecs::Image* image = icon != nullptr ? icon->CurrentImage() : nullptr;
    if (image == nullptr)
        throw EInvalidOperation(Consts::SInvalidImageList);
    // The icon is scaled to the list's size when it has another.
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(FWidth, FHeight);
    codecs::Image scaled;
    scaled.width = FWidth;
    scaled.height = FHeight;
    scaled.hasAlpha = true;
    scaled.pixels.resize(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight));
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            std::uint32_t p = image->Pixel(x * image->width / FWidth, y * image->height / FHeight);
            scaled.SetPixel(x, y, image->hasAlpha ? p : p | 0xFF000000);
        }
    std::vector<codecs::Image> pieces;
    pieces.push_back(std::move(scaled));
    return AddPieces(std::move(pieces));
}

void TCustomImageList::AddImages(TCustomImageList* list) {
    if (list == nullptr || list == this)
        return;
    if (list->FWidth != FWidth || list->FHeight != FHeight)
        throw EInvalidOperation(Consts::SInvalidImageSize);
    FImages.insert(FImages.end(), list->FImages.begin(), list->FImages.end());
    Change();
}

void TCustomImageList::Insert(Integer index, TBitmap* image, TBitmap* mask) {
    if (index < 0 || index > Count())
        throw EInvalidOperation(Consts::SImageIndexError);
    std::vector<codecs::Image> pieces = Pieces(image, mask, nullptr);
    FImages.insert(FImages.begin() + index, std::make_move_iterator(pieces.begin()),
                   std::make_move_iterator(pieces.end()));
    Change();
}

void TCustomImageList::Replace(Integer index, TBitmap* image, TBitmap* mask) {
    CheckIndex(index);
    std::vector<codecs::Image> pieces = Pieces(image, mask, nullptr);
    FImages[static_cast<size_t>(index)] = std::move(pieces.front());
    Change();
}

void TCustomImageList::Delete(Integer index) {
    CheckIndex(index);
    FImages.erase(FImages.begin() + index);
    Change();
}

void TCustomImageList::Clear() {
    FImages.clear();
    Change();
}

void TCustomImageList::Move(Integer curIndex, Integer newIndex) {
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    if (curIndex == newIndex)
        return;
    codecs::Image image = std::move(FImages[static_cast<size_t>(curIndex)]);
    FImages.erase(FImages.begin() + curIndex);
    FImages.insert(FImages.begin() + newIndex, std::move(image));
    Change();
}

codecs::Image TCustomImageList::Styled(Integer index, TDrawingStyle drawingStyle,
                                       TImageType imageType) const {
    codecs::Image image = FImages[static_cast<size_t>(index)];
    if (imageType == itMask) {
        // The mask: black where the image is, white where it is transparent.
        for (std::uint32_t& p : image.pixels)
            p = (p >> 24) >= 128 ? 0xFF000000 : 0xFFFFFFFF;
        image.hasAlpha = false;
        return image;
    }
    if (!FMasked)
        for (std::uint32_t& p : image.pixels)
            p |= 0xFF000000;
    if (drawingStyle == dsNormal && FBkColor != clNone) {
        std::uint32_t bk = ToArgb(ColorToRGB(FBkColor));
        for (std::uint32_t& p : image.pixels)
            p = Mix(bk, p | 0xFF000000, (p >> 24) * 100 / 255);
    }
    if ((drawingStyle == dsFocus || drawingStyle == dsSelected) && FBlendColor != clNone) {
        std::uint32_t blend = ToArgb(ColorToRGB(FBlendColor == clDefault ? clHighlight : FBlendColor));
        std::uint32_t percent = drawingStyle == dsFocus ? 25 : 50;
        for (std::uint32_t& p : image.pixels)
            p = Mix(p, blend, percent);
    }
    return image;
}

void TCustomImageList::Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled) {
    Draw(canvas, x, y, index, FDrawingStyle, FImageType, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, Integer x, Integer y, Integer index, TDrawingStyle drawingStyle,
                            TImageType imageType, bool enabled) {
    if (canvas == nullptr || index < 0 || index >= Count())
        return;
    HDC dc = canvas->Handle();
    if (enabled) {
        graphics::DrawImage(dc, Bounds(x, y, FWidth, FHeight), Styled(index, drawingStyle, imageType));
        return;
    }
    // Disabled: the shape embossed, a highlight shifted by one pixel under a shadow.
    const codecs::Image& image = FImages[static_cast<size_t>(index)];
    graphics::DrawImage(dc, Bounds(x + 1, y + 1, FWidth, FHeight),
                        Silhouette(image, ToArgb(ColorToRGB(clBtnHighlight))));
    graphics::DrawImage(dc, Bounds(x, y, FWidth, FHeight),
                        Silhouette(image, ToArgb(ColorToRGB(clBtnShadow))));
}

bool TCustomImageList::GetBitmap(Integer index, TBitmap* image) {
    if (image == nullptr || index < 0 || index >= Count())
        return false;
    image->SetSize(FWidth, FHeight);
    image->Canvas()->FillRect(Rect(0, 0, FWidth, FHeight));
    Draw(image->Canvas(), 0, 0, index);
    return true;
}

void TCustomImageList::GetIcon(Integer index, TIcon* icon) {
    if (icon == nullptr)
        return;
    CheckIndex(index);
    icon->LoadFromImage(Styled(index, dsTransparent, itImage));
}

void TCustomImageList::SetWidth(Integer value) {
    if (value != FWidth && value > 0) {
        FWidth = value;
        FImages.clear();
        Change();
    }
}

void TCustomImageList::SetHeight(Integer value) {
    if (value != FHeight && value > 0) {
        FHeight = value;
        FImages.clear();
        Change();
    }
}

void TCustomImageList::SetBkColor(TColor value) {
    if (value != FBkColor) {
        FBkColor = value;
        Change();
    }
}

void TCustomImageList::SetBlendColor(TColor value) {
    if (value != FBlendColor) {
        FBlendColor = value;
        Change();
    }
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle value) {
    if (value != FDrawingStyle) {
        FDrawingStyle = value;
        Change();
    }
}

void TCustomImageList::SetImageType(TImageType value) {
    if (value != FImageType) {
        FImageType = value;
        Change();
    }
}

void TCustomImageList::SetMasked(bool value) {
    if (value != FMasked) {
        FMasked = value;
        Change();
    }
}

// ---- TDragImageList ----

DEFINE_CLASS(TDragImageList)

namespace {

constexpr const Char* DragImageWindowClass = u"TDragImageWindow";

} // namespace

LRESULT DragImageWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* list = reinterpret_cast<TDragImageList*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NCHITTEST:
        // The image is under the cursor all the time; the mouse belongs to what is beneath it.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        if (list != nullptr) {
            TCanvas canvas;
            canvas.SetHandle(dc);
            list->Draw(&canvas, 0, 0, list->FDragIndex);
            canvas.SetHandle(nullptr);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

TDragImageList::~TDragImageList() {
    EndDrag();
}

bool TDragImageList::SetDragImage(Integer index, Integer hotSpotX, Integer hotSpotY) {
    if (index < 0 || index >= Count())
        return false;
    FDragIndex = index;
    FHotSpot = TPoint(hotSpotX, hotSpotY);
    if (FImageWindow != nullptr)
        InvalidateRect(FImageWindow, nullptr, FALSE);
    PlaceImage();
    return true;
}

bool TDragImageList::BeginDrag(HWND window, Integer x, Integer y) {
    if (FDragging)
        EndDrag();
    if (FDragIndex < 0 || FDragIndex >= Count())
        return false;
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DragImageWindowProc;
        windowClass.lpszClassName = DragImageWindowClass;
        return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered)
        return false;
    FImageWindow =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, DragImageWindowClass, u"",
                        WS_POPUP, 0, 0, Width(), Height(), nullptr, nullptr, nullptr, nullptr);
    if (FImageWindow == nullptr)
        return false;
    SetWindowLongPtrW(FImageWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    FDragWindow = window;
    FDragPos = TPoint(x, y);
    FDragging = true;
    FShown = true;
    PlaceImage();
    return true;
}

bool TDragImageList::DragMove(Integer x, Integer y) {
    if (!FDragging)
        return false;
    FDragPos = TPoint(x, y);
    PlaceImage();
    return true;
}

bool TDragImageList::EndDrag() {
    if (!FDragging)
        return false;
    FDragging = false;
    FShown = false;
    HWND window = FImageWindow;
    FImageWindow = nullptr;
    DestroyWindow(window);
    return true;
}

void TDragImageList::ShowDragImage() {
    if (FDragging && !FShown) {
        FShown = true;
        PlaceImage();
    }
}

void TDragImageList::HideDragImage() {
    if (FDragging && FShown) {
        FShown = false;
        ShowWindow(FImageWindow, SW_HIDE);
    }
}

void TDragImageList::PlaceImage() {
    if (!FDragging || !FShown)
        return;
    POINT pt{FDragPos.X, FDragPos.Y};
    if (FDragWindow != nullptr && FDragWindow != GetDesktopWindow())
        ::ClientToScreen(FDragWindow, &pt);
    SetWindowPos(FImageWindow, HWND_TOPMOST, pt.x - FHotSpot.X, pt.y - FHotSpot.Y, Width(), Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}
