// DCs on devices other than bitmaps: the window manager's DCs on a top-level window's surface, printer
// DCs, and DCs on the recording device of tests.
#pragma once

#include <memory>

#include "platform/backend/device.h"
#include "platform/win32/wingdi.h"

// A DC that draws on device with its (0, 0) at origin, limited to visible (absolute device pixels) when
// given. Delete it with DeleteDC.
HDC CreateDeviceDC(std::shared_ptr<backend::Device> device, POINT origin = POINT{0, 0},
                   const backend::Region* visible = nullptr);
// Moves a device DC and changes what of the device it may draw on, as a window moves or is uncovered.
BOOL SetDeviceDCArea(HDC dc, POINT origin, const backend::Region* visible);
