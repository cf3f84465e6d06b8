// Reading and writing BMP files and packed DIBs.
#pragma once

#include "platform/codecs/Image.h"

namespace codecs {

// Reads a BMP file: 1, 4, 8, 16, 24 and 32 bits, bottom-up and top-down, uncompressed, RLE4, RLE8 and
// bit fields; Windows info headers of every version and OS/2 headers (core and 2.x). Errors carry
// SInvalidBitmap; a BMP holding a JPEG or a PNG, or compressed in an OS/2-only scheme, is Unsupported.
// The pixels are what the file stores: a 32-bit image has alpha when any of its alpha bytes is not 0
// (files written without alpha leave them all 0), and that alpha is taken as it stands.
// The image's bitsPerPixel is the file's, with 15 for 16-bit 5-5-5 and 16 for 5-6-5; its palette is
// the file's colour table.
Result<Image> DecodeBmp(ByteSpan data);

// Reads a packed DIB: an info header, its colour table and the bits, with no file header (as the
// clipboard and resources hold bitmaps).
Result<Image> DecodeDib(ByteSpan data);

enum class BmpCompression { None, Rle };
enum class BmpRowOrder { BottomUp, TopDown };

struct BmpWriteOptions {
    int bitsPerPixel = 0; // 1, 4, 8, 15, 16, 24, 32; 0 writes at the image's own depth when BMP has it
                          // (else 32 with alpha, 24 without)
    BmpCompression compression = BmpCompression::None; // RLE needs 4 or 8 bits
    BmpRowOrder rowOrder = BmpRowOrder::BottomUp;      // top-down rows cannot be RLE-compressed
};

// Writes a BMP file with a 40-byte info header. At 8 bits and less the table is the image's palette
// when it fits (colours not in it map to the nearest entry), else a simple reduction of the image's
// colours. 16 bits (5-6-5) is written with bit fields; 32 bits keeps the alpha bytes.
Result<Bytes> EncodeBmp(const Image& image, const BmpWriteOptions& options = {});

} // namespace codecs
