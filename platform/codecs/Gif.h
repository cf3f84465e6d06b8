// Reading and writing GIF files with all their frames, and composing the frames as a viewer shows them.
#pragma once

#include <optional>
#include <span>

#include "platform/codecs/Image.h"

namespace codecs {

// What happens to a frame's area before the next frame is drawn.
enum class GifDisposal {
    Unspecified = 0, // treated as None
    None = 1,        // the frame stays
    Background = 2,  // its area is cleared (to transparent, as viewers do)
    Previous = 3,    // its area returns to what was there before it was drawn
};

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices; // width * height colour indices, top row first (interlacing undone)
    std::vector<std::uint32_t> localPalette; // 0xFFRRGGBB; empty when the frame uses the global table
    int delay = 0;                           // hundredths of a second before the next frame
    GifDisposal disposal = GifDisposal::Unspecified;
    int transparentIndex = -1; // index that draws nothing, or -1
    bool interlaced = false;
    bool waitsForInput = false; // the user-input flag of the graphic control block
};

struct GifFile {
    int width = 0; // the logical screen
    int height = 0;
    std::vector<std::uint32_t> globalPalette; // 0xFFRRGGBB, empty when the file has none
    int backgroundIndex = 0;
    std::optional<int> loopCount; // from the looping application block: 0 loops forever
    std::vector<GifFrame> frames;
};

// Reads the header, every frame and the blocks around them. A logical screen of 0 by 0 takes the
// frames' extent. Errors carry the GIF image class's texts ("Premature end of data" for a cut file,
// "Invalid GIF signature", "No global or local color table defined", ...); a file without any frame is
// an error ("Image is empty").
Result<GifFile> DecodeGif(ByteSpan data);

// Draws the frames of a file one after another on a canvas of the logical screen, as a viewer shows
// them: the canvas starts transparent, each frame's transparent index leaves the canvas as it was,
// parts of frames outside the screen are cut off, and each frame's disposal applies before the next.
class GifComposer {
public:
    explicit GifComposer(const GifFile& file);
    int FrameCount() const { return static_cast<int>(FFile.frames.size()); }
    // The screen with frames 0..index drawn. Asking for frames in order costs one frame each; asking
    // for an earlier one starts again from the first. An index past the last frame gives the last
    // frame, one below 0 the empty screen. The file must outlive the composer.
    const Image& Frame(int index);

private:
    void Draw(const GifFrame& frame);
    void Dispose(const GifFrame& frame);

    const GifFile& FFile;
    Image FCanvas;
    std::vector<std::uint32_t> FSaved; // the screen before the current frame, for GifDisposal::Previous
    int FCurrent = -1;
};

// Every frame composed; an error (TooLarge) when the frames together exceed MaxImagePixels, in which
// case the caller should compose them one at a time.
Result<std::vector<Image>> ComposeGifFrames(const GifFile& file);

// A full-colour picture to store as one frame.
struct GifWriteFrame {
    Image image; // pixels with alpha below 128 are stored transparent when the image has alpha
    int left = 0;
    int top = 0;
    int delay = 0; // hundredths of a second
    GifDisposal disposal = GifDisposal::Unspecified;
};

struct GifWriteOptions {
    std::optional<int> loopCount; // stores the looping block when set (0 loops forever)
    int width = 0;                // logical screen; 0 takes the frames' extent
    int height = 0;
};

// Writes a GIF89a file. Each frame gets a table of at most 256 colours: its own colours when they fit,
// else a fixed colour cube. The first frame's table is the global one; later frames carry their own
// table only when it differs.
Result<Bytes> EncodeGif(std::span<const GifWriteFrame> frames, const GifWriteOptions& options = {});

} // namespace codecs
