// TGIFImage: a GIF picture with all its frames, their delays and the loop count, showing one composed
// frame at a time.
#pragma once

#include <memory>
#include <vector>

#include "platform/framework/Graphics.h"

ZELMOR_DECLARE_EXCEPTION(EGIFException, EInvalidGraphic)

enum TGIFDisposalMethod { dmNone, dmNoDisposal, dmBackground, dmPrevious };
enum TGIFAnimationLoop { glDisabled, glEnabled, glContinously };

// One frame as stored in the file.
struct TGIFFrameInfo {
    TRect bounds;      // the frame's place on the logical screen
    Integer delay = 0; // hundredths of a second before the next frame
    TGIFDisposalMethod disposal = dmNone;
    bool transparent = false;
    bool interlaced = false;
};

// The frames of a TGIFImage.
class TGIFImageList {
public:
    Integer Count() const { return static_cast<Integer>(FFrames.size()); }
    const TGIFFrameInfo& operator[](Integer index) const { return FFrames.at(static_cast<size_t>(index)); }

private:
    friend class TGIFImage;
    std::vector<TGIFFrameInfo> FFrames;
};

class TGIFImage : public TGraphic {
    DECLARE_CLASS(TGIFImage, TGraphic)

public:
    TGIFImage();
    ~TGIFImage() override;

    // Takes a TGIFImage, or a TBitmap as a single frame.
    void Assign(TPersistent* source) override;
    bool Empty() const override;
    // The logical screen.
    Integer Width() const override;
    Integer Height() const override;
    // A GIF's size is its file's: EInvalidGraphicOperation.
    void SetWidth(Integer value) override;
    void SetHeight(Integer value) override;
    bool Transparent() const override;

    // Bad data raise EGIFException with the reader's text ("Premature end of data", ...).
    void LoadFromStream(TStream& stream) override;
    // The file as read, or the frames written anew when the picture came from elsewhere.
    void SaveToStream(TStream& stream) override;

    const TGIFImageList& Images() const { return FImages; }
    // How often the animation repeats: 0 forever, absent (-1) when the file has no loop block.
    Integer LoopCount() const { return FLoopCount; }
    bool Animate() const { return FAnimate; }
    void SetAnimate(bool value) { FAnimate = value; }
    TGIFAnimationLoop AnimateLoop() const { return FAnimateLoop; }
    void SetAnimateLoop(TGIFAnimationLoop value) { FAnimateLoop = value; }
    // Percent of the stored speed.
    Integer AnimationSpeed() const { return FAnimationSpeed; }
    void SetAnimationSpeed(Integer value) { FAnimationSpeed = value; }
    // The frame drawn: the screen with frames 0..AnimationFrame composed.
    Integer AnimationFrame() const { return FCurrent; }
    void SetAnimationFrame(Integer value);
    // The screen as it looks once frames 0..index are drawn.
    const codecs::Image& Frame(Integer index);

protected:
    void AssignTo(TPersistent* dest) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    struct Data;
    void Load(std::unique_ptr<Data> data);

    std::unique_ptr<Data> FData;
    TGIFImageList FImages;
    Integer FLoopCount = -1;
    Integer FCurrent = 0;
    Integer FAnimationSpeed = 100;
    bool FAnimate = false;
    TGIFAnimationLoop FAnimateLoop = glEnabled;
};
