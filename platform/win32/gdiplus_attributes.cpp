// GDI+ image attributes: colour remapping, colour keys, colour matrices, gamma, thresholds and output
// channels applied to an image's pixels as it is drawn.
#include <cmath>

#include "platform/win32/gdiplus_private.h"

namespace gdiplus {

namespace {

bool Between(ARGB c, ARGB low, ARGB high, int shift) {
    ARGB v = (c >> shift) & 0xFF;
    return v >= ((low >> shift) & 0xFF) && v <= ((high >> shift) & 0xFF);
}

ARGB Channel(double v) {
    return static_cast<ARGB>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

ARGB ApplyMatrix(ARGB c, const ColorMatrix& m) {
    double v[5] = {((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                   (c >> 24) / 255.0, 1};
    double out[4];
    for (int j = 0; j < 4; ++j) {
        out[j] = 0;
        for (int i = 0; i < 5; ++i)
            out[j] += v[i] * m.m[i][j];
    }
    return (Channel(out[3]) << 24) | (Channel(out[0]) << 16) | (Channel(out[1]) << 8) | Channel(out[2]);
}

ARGB Adjust(ARGB c, const Adjustments& a) {
    if (a.noOp)
        return c;
    for (const ColorMap& map : a.remap)
        if (map.oldColor == c) {
            c = map.newColor;
            break;
        }
    if (a.keyEnabled && Between(c, a.keyLow, a.keyHigh, 16) && Between(c, a.keyLow, a.keyHigh, 8) &&
        Between(c, a.keyLow, a.keyHigh, 0))
        return 0;
    if (a.matrixEnabled) {
        bool gray = ((c >> 16) & 0xFF) == ((c >> 8) & 0xFF) && ((c >> 8) & 0xFF) == (c & 0xFF);
        if (gray && a.matrixFlags == ColorMatrixFlagsSkipGrays)
            ; // greys pass unchanged
        else if (gray && a.matrixFlags == ColorMatrixFlagsAltGray && a.grayEnabled)
            c = ApplyMatrix(c, a.grayMatrix);
        else
            c = ApplyMatrix(c, a.matrix);
    }
    if (a.gammaEnabled && a.gamma > 0) {
        auto g = [&](int shift) {
            return Channel(std::pow(((c >> shift) & 0xFF) / 255.0, a.gamma)) << shift;
        };
        c = (c & 0xFF000000u) | g(16) | g(8) | g(0);
    }
    if (a.thresholdEnabled) {
        auto t = [&](int shift) {
            return (((c >> shift) & 0xFF) / 255.0 >= a.threshold ? 0xFFu : 0u) << shift;
        };
        c = (c & 0xFF000000u) | t(16) | t(8) | t(0);
    }
    if (a.channelEnabled && a.channel != ColorChannelFlagsLast) {
        ARGB r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
        ARGB v = 0;
        switch (a.channel) {
        case ColorChannelFlagsC:
            v = 255 - r;
            break;
        case ColorChannelFlagsM:
            v = 255 - g;
            break;
        case ColorChannelFlagsY:
            v = 255 - b;
            break;
        default:
            v = 255 - std::max({r, g, b});
            break;
        }
        // The channel's ink shows as grey: full ink black.
        v = 255 - v;
        c = (c & 0xFF000000u) | (v << 16) | (v << 8) | v;
    }
    return c;
}

} // namespace

gp::Bitmap AttributesObject::Apply(const gp::Bitmap& source, ColorAdjustType type) const {
    const Adjustments& a = For(type);
    gp::Bitmap result = source;
    if (a.noOp)
        return result;
    for (std::uint32_t& p : result.pixels)
        p = Adjust(p, a);
    return result;
}

ARGB AttributesObject::ApplyColor(ARGB color, ColorAdjustType type) const {
    return Adjust(color, For(type));
}

} // namespace gdiplus

using namespace gdiplus;

namespace {

// The category a call changes: it has settings of its own from now on.
Adjustments* Category(AttributesObject& a, ColorAdjustType type) {
    if (type < ColorAdjustTypeDefault || type >= ColorAdjustTypeCount)
        return nullptr;
    Adjustments& adjustments = a.categories[type];
    adjustments.used = true;
    return &adjustments;
}

#define GP_CATEGORY(name, attributes, type)                                                                  \
    GP_OBJECT(AttributesObject, object, attributes);                                                         \
    Adjustments* name = Category(*object, type);                                                             \
    if (!name)                                                                                               \
        return InvalidParameter;

} // namespace

Status GdipCreateImageAttributes(GpImageAttributes** attributes) {
    GP_STARTED();
    if (!attributes)
        return InvalidParameter;
    return Guard([&] {
        *attributes = Add<GpImageAttributes>(std::make_unique<AttributesObject>());
        return Ok;
    });
}

Status GdipCloneImageAttributes(const GpImageAttributes* attributes, GpImageAttributes** clone) {
    GP_OBJECT(AttributesObject, a, attributes);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        *clone = Add<GpImageAttributes>(std::make_unique<AttributesObject>(*a));
        return Ok;
    });
}

Status GdipDisposeImageAttributes(GpImageAttributes* attributes) {
    GP_OBJECT(AttributesObject, a, attributes);
    RemoveEntry(attributes);
    return Ok;
}

Status GdipSetImageAttributesToIdentity(GpImageAttributes* attributes, ColorAdjustType type) {
    GP_CATEGORY(c, attributes, type);
    *c = Adjustments{};
    c->used = true;
    return Ok;
}

Status GdipResetImageAttributes(GpImageAttributes* attributes, ColorAdjustType type) {
    GP_OBJECT(AttributesObject, a, attributes);
    if (type < ColorAdjustTypeDefault || type >= ColorAdjustTypeCount)
        return InvalidParameter;
    a->categories[type] = Adjustments{};
    return Ok;
}

Status GdipSetImageAttributesColorMatrix(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                         const ColorMatrix* colorMatrix, const ColorMatrix* grayMatrix,
                                         ColorMatrixFlags flags) {
    GP_CATEGORY(c, attributes, type);
    if (enable) {
        if (!colorMatrix || flags < ColorMatrixFlagsDefault || flags > ColorMatrixFlagsAltGray ||
            (flags == ColorMatrixFlagsAltGray && !grayMatrix))
            return InvalidParameter;
        c->matrix = *colorMatrix;
        c->grayEnabled = grayMatrix != nullptr;
        if (grayMatrix)
            c->grayMatrix = *grayMatrix;
        c->matrixFlags = flags;
    }
    c->matrixEnabled = enable != FALSE;
    return Ok;
}

Status GdipSetImageAttributesThreshold(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                       REAL threshold) {
    GP_CATEGORY(c, attributes, type);
    c->thresholdEnabled = enable != FALSE;
    c->threshold = threshold;
    return Ok;
}

Status GdipSetImageAttributesGamma(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                   REAL gamma) {
    GP_CATEGORY(c, attributes, type);
    if (enable && !(gamma > 0))
        return InvalidParameter;
    c->gammaEnabled = enable != FALSE;
    c->gamma = gamma;
    return Ok;
}

Status GdipSetImageAttributesNoOp(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable) {
    GP_CATEGORY(c, attributes, type);
    c->noOp = enable != FALSE;
    return Ok;
}

Status GdipSetImageAttributesColorKeys(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                       ARGB colorLow, ARGB colorHigh) {
    GP_CATEGORY(c, attributes, type);
    c->keyEnabled = enable != FALSE;
    c->keyLow = colorLow;
    c->keyHigh = colorHigh;
    return Ok;
}

Status GdipSetImageAttributesOutputChannel(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                           ColorChannelFlags channelFlags) {
    GP_CATEGORY(c, attributes, type);
    if (channelFlags < ColorChannelFlagsC || channelFlags > ColorChannelFlagsLast)
        return InvalidParameter;
    c->channelEnabled = enable != FALSE;
    c->channel = channelFlags;
    return Ok;
}

Status GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* attributes, ColorAdjustType type,
                                                       BOOL enable, const WCHAR* colorProfileFilename) {
    GP_OBJECT(AttributesObject, a, attributes);
    if (type < ColorAdjustTypeDefault || type >= ColorAdjustTypeCount)
        return InvalidParameter;
    return enable ? NotImplemented : Ok;
}

Status GdipSetImageAttributesRemapTable(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                        UINT mapSize, const ColorMap* map) {
    GP_CATEGORY(c, attributes, type);
    if (enable && (!map || mapSize == 0))
        return InvalidParameter;
    return Guard([&] {
        if (enable)
            c->remap.assign(map, map + mapSize);
        else
            c->remap.clear();
        return Ok;
    });
}

Status GdipSetImageAttributesWrapMode(GpImageAttributes* attributes, WrapMode wrap, ARGB color, BOOL clamp) {
    GP_OBJECT(AttributesObject, a, attributes);
    if (wrap < WrapModeTile || wrap > WrapModeClamp)
        return InvalidParameter;
    a->wrap = wrap;
    a->wrapColor = color;
    return Ok;
}

Status GdipGetImageAttributesAdjustedPalette(GpImageAttributes* attributes, ColorPalette* palette,
                                             ColorAdjustType type) {
    GP_OBJECT(AttributesObject, a, attributes);
    if (!palette || palette->Count == 0 || type < ColorAdjustTypeBitmap || type >= ColorAdjustTypeCount)
        return InvalidParameter;
    for (UINT i = 0; i < palette->Count; ++i)
        palette->Entries[i] = a->ApplyColor(palette->Entries[i], type);
    return Ok;
}
