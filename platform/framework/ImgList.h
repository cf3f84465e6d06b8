// TCustomImageList and TImageList: lists of equally sized images with masks, drawn in the framework's
// styles (normal, transparent, focused, selected, disabled); TDragImageList shows one of them under the
// mouse while a drag runs.
#pragma once

#include <vector>

#include "platform/codecs/Image.h"
#include "platform/framework/Component.h"
#include "platform/framework/Graphics.h"
#include "platform/win32/winuser.h"

ZELMOR_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
ZELMOR_ENUM(TImageType, itImage, itMask)

class TCustomImageList;

// How a control that shows a list's images hears that they changed, without taking the list's OnChange
// from its owner. A link unregisters itself when it goes; a list going away leaves its links without a
// sender.
class TChangeLink : public TObject {
public:
    ~TChangeLink() override;

    TCustomImageList* Sender() const { return FSender; }
    void Change();

    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
    DECLARE_CLASS(TCustomImageList, TComponent)

public:
    explicit TCustomImageList(TComponent* owner);
    // CreateSize: a list of images of that size.
    TCustomImageList(Integer width, Integer height);
    ~TCustomImageList() override;

    void Assign(TPersistent* source) override;

    // The link hears every change until it is unregistered or destroyed.
    void RegisterChanges(TChangeLink* value);
    void UnRegisterChanges(TChangeLink* value);

    // Adds image cut into pieces of Width pixels (at least one), with mask's white pixels transparent
    // (opaque when mask is null; a 32-bit image with an alpha format keeps its alpha). Answers the
    // index of the first piece; an empty image raises EInvalidOperation "Invalid ImageList".
    Integer Add(TBitmap* image, TBitmap* mask);
    // The same, with the pixels of maskColor transparent (clDefault: the bottom-left pixel's colour).
    Integer AddMasked(TBitmap* image, TColor maskColor);
    Integer AddIcon(TIcon* icon);
    void AddImages(TCustomImageList* list);
    void Insert(Integer index, TBitmap* image, TBitmap* mask);
    void Replace(Integer index, TBitmap* image, TBitmap* mask);
    // Delete and Replace raise EInvalidOperation "Invalid ImageList Index" for an index out of range.
    void Delete(Integer index);
    void Clear();
    void Move(Integer curIndex, Integer newIndex);

    // An index out of range draws nothing.
    void Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled = true);
    void Draw(TCanvas* canvas, Integer x, Integer y, Integer index, TDrawingStyle drawingStyle,
              TImageType imageType, bool enabled = true);
    // The image drawn on a bitmap of the list's size filled with the bitmap's brush; false for an
    // index out of range.
    bool GetBitmap(Integer index, TBitmap* image);
    void GetIcon(Integer index, TIcon* icon);

    Integer Count() const { return static_cast<Integer>(FImages.size()); }
    // Changing the size empties the list.
    Integer Width() const { return FWidth; }
    void SetWidth(Integer value);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer value);
    // The background of dsNormal drawing; clNone draws transparently.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);
    // The colour dsFocus and dsSelected blend with; clNone blends none, clDefault the highlight colour.
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor value);
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle value);
    TImageType ImageType() const { return FImageType; }
    void SetImageType(TImageType value);
    bool Masked() const { return FMasked; }
    void SetMasked(bool value);

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    std::vector<codecs::Image> Pieces(TBitmap* image, TBitmap* mask, const TColor* maskColor) const;
    Integer AddPieces(std::vector<codecs::Image>&& pieces);
    codecs::Image Styled(Integer index, TDrawingStyle drawingStyle, TImageType imageType) const;
    void CheckIndex(Integer index) const;

    std::vector<codecs::Image> FImages; // Width x Height each; alpha is the mask
    std::vector<TChangeLink*> FChangeLinks;
    Integer FWidth = 16;
    Integer FHeight = 16;
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
    TImageType FImageType = itImage;
    bool FMasked = true;
};

class TImageList : public TCustomImageList {
    DECLARE_CLASS(TImageList, TCustomImageList)

public:
    using TCustomImageList::TCustomImageList;
};

LRESULT DragImageWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// An image list that can show one of its images following the mouse, the hot spot under the cursor.
// The image is shown in a top-most window of its own that takes no input.
class TDragImageList : public TCustomImageList {
    DECLARE_CLASS(TDragImageList, TCustomImageList)

public:
    using TCustomImageList::TCustomImageList;
    ~TDragImageList() override;

    // Chooses the image to drag and the point of it that sits under the cursor; false for an index
    // out of range.
    bool SetDragImage(Integer index, Integer hotSpotX, Integer hotSpotY);
    TPoint DragHotspot() const { return FHotSpot; }
    // Starts showing the image with its hot spot at (x, y) in window's client coordinates (screen
    // coordinates for a null window); false when there is no image to drag.
    bool BeginDrag(HWND window, Integer x, Integer y);
    bool DragMove(Integer x, Integer y);
    bool EndDrag();
    void ShowDragImage();
    void HideDragImage();
    bool Dragging() const { return FDragging; }
    // The window the image is shown in while dragging (null otherwise).
    HWND ImageWindow() const { return FImageWindow; }

private:
    void PlaceImage();
    friend LRESULT DragImageWindowProc(HWND, UINT, WPARAM, LPARAM);

    Integer FDragIndex = 0;
    TPoint FHotSpot;
    HWND FDragWindow = nullptr; // the window the positions are relative to
    TPoint FDragPos;            // the hot spot, in FDragWindow's client coordinates
    HWND FImageWindow = nullptr;
    bool FDragging = false;
    bool FShown = false;
};
