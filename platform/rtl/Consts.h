// Message texts of the framework, exactly as it shows them. Each is a Format pattern where it has
// arguments.
#pragma once

#include "platform/rtl/Types.h"

namespace Consts {
inline constexpr const Char* SInvalidInteger = u"'%s' is not a valid integer value";
inline constexpr const Char* SInvalidFloat = u"'%s' is not a valid floating point value";
inline constexpr const Char* SOverflow = u"Floating point overflow";
inline constexpr const Char* SInvalidBoolean = u"'%s' is not a valid boolean value";
inline constexpr const Char* SInvalidDate = u"'%s' is not a valid date";
inline constexpr const Char* SInvalidTime = u"'%s' is not a valid time";
inline constexpr const Char* SInvalidDateTime = u"'%s' is not a valid date and time";
inline constexpr const Char* SDateEncodeError = u"Invalid argument to date encode";
inline constexpr const Char* STimeEncodeError = u"Invalid argument to time encode";
inline constexpr const Char* SInvalidFormat = u"Format '%s' invalid or incompatible with argument";
inline constexpr const Char* SArgumentMissing = u"No argument for format '%s'";
inline constexpr const Char* SListIndexError = u"List index out of bounds (%d)";
inline constexpr const Char* SListCapacityError = u"List capacity out of bounds (%d)";
inline constexpr const Char* SListCountError = u"List count out of bounds (%d)";
inline constexpr const Char* SSortedListError = u"Operation not allowed on sorted list";
inline constexpr const Char* SDuplicateString = u"String list does not allow duplicates";
inline constexpr const Char* SInvalidCast = u"Invalid class typecast";
inline constexpr const Char* SFCreateError = u"Cannot create file %s";
inline constexpr const Char* SFCreateErrorEx = u"Cannot create file \"%s\". %s";
inline constexpr const Char* SFOpenError = u"Cannot open file %s";
inline constexpr const Char* SFOpenErrorEx = u"Cannot open file \"%s\". %s";
inline constexpr const Char* SReadError = u"Stream read error";
inline constexpr const Char* SWriteError = u"Stream write error";
inline constexpr const Char* SMemoryStreamError = u"Out of memory while expanding memory stream";
inline constexpr const Char* SOSError = u"System Error.  Code: %d.\r\n%s";
inline constexpr const Char* SUnkOSError = u"A call to an OS function failed";
inline constexpr const Char* SDivByZero = u"Division by zero";
inline constexpr const Char* SRangeError = u"Range check error";
inline constexpr const Char* SIntOverflow = u"Integer overflow";
inline constexpr const Char* SInvalidOp = u"Invalid floating point operation";
inline constexpr const Char* SRegCreateFailed = u"Failed to create key %s";
inline constexpr const Char* SRegGetDataFailed = u"Failed to get data for '%s'";
inline constexpr const Char* SRegSetDataFailed = u"Failed to set data for '%s'";
inline constexpr const Char* SInvalidRegType = u"Invalid data type for '%s'";
inline constexpr const Char* SIniFileWriteError = u"Unable to write to %s";
// Controls and forms.
inline constexpr const Char* SParentRequired = u"Control '%s' has no parent window";
inline constexpr const Char* SControlParentSetToSelf = u"A control cannot have itself as its parent";
inline constexpr const Char* SCannotDragForm = u"Cannot drag a form";
inline constexpr const Char* SCannotFocus = u"Cannot focus a disabled or invisible window";
inline constexpr const Char* SCannotShowModal = u"Cannot make a visible window modal";
// Pictures: the graphics classes and their image formats.
inline constexpr const Char* SInvalidBitmap = u"Bitmap image is not valid";
inline constexpr const Char* SInvalidIcon = u"Icon image is not valid";
inline constexpr const Char* SInvalidImage = u"Invalid image";
inline constexpr const Char* SJPEGError = u"JPEG error #%d";
inline constexpr const Char* SNoCanvasHandle = u"Canvas does not allow drawing";
inline constexpr const Char* SInvalidPixelFormat = u"Invalid pixel format";
inline constexpr const Char* SScanLine = u"Scan line index out of range";
inline constexpr const Char* SChangeIconSize = u"Cannot change the size of an icon";
inline constexpr const Char* SChangeJPGSize = u"Cannot change the size of a JPEG image";
inline constexpr const Char* SUnknownExtension = u"Unknown picture file extension (.%s)";
inline constexpr const Char* SInvalidImageSize = u"Invalid image size";
inline constexpr const Char* SInvalidImageList = u"Invalid ImageList";
inline constexpr const Char* SImageIndexError = u"Invalid ImageList Index";
inline constexpr const Char* SReplaceImage = u"Unable to Replace Image";
inline constexpr const Char* EPngInvalidCRCText = u"This \"Portable Network Graphics\" image is not valid "
                                                  u"because it contains invalid pieces of data (crc error)";
inline constexpr const Char* EPNGInvalidIHDRText = u"The \"Portable Network Graphics\" image could not be "
                                                   u"loaded because one of its main piece of data (ihdr) "
                                                   u"might be corrupted";
inline constexpr const Char* EPNGMissingMultipleIDATText =
    u"This \"Portable Network Graphics\" image is invalid because it has missing image parts.";
inline constexpr const Char* EPNGZLIBErrorText =
    u"Could not decompress the image because it contains invalid compressed data.\r\n Description: ";
inline constexpr const Char* EPNGInvalidPaletteText =
    u"The \"Portable Network Graphics\" image contains an invalid palette.";
inline constexpr const Char* EPNGInvalidFileHeaderText =
    u"The file being readed is not a valid \"Portable Network Graphics\" image because it contains an "
    u"invalid "
    u"header. This file may be corruped, try obtaining it again.";
inline constexpr const Char* EPNGIHDRNotFirstText =
    u"This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n(IHDR chunk is "
    u"not "
    u"the first)";
inline constexpr const Char* EPNGSizeExceedsText =
    u"This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds "
    u"the "
    u"maximum size, which is 65535 pixels length.";
inline constexpr const Char* EPNGMissingPaletteText =
    u"This \"Portable Network Graphics\" could not be loaded because it uses a color table which is missing.";
inline constexpr const Char* EPNGUnknownCriticalChunkText =
    u"This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded.";
inline constexpr const Char* EPNGUnknownCompressionText =
    u"This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not "
    u"be "
    u"decoded.";
inline constexpr const Char* EPNGUnknownInterlaceText =
    u"This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded.";
inline constexpr const Char* EPNGUnexpectedEndText =
    u"This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the "
    u"file.";
inline constexpr const Char* EPNGNoImageDataText =
    u"This \"Portable Network Graphics\" image contains no data.";
inline constexpr const Char* EPNGOutMemoryText = u"Some operation could not be performed because the system "
                                                 u"is out of resources. Close some windows and try "
                                                 u"again.";
inline constexpr const Char* EPNGHeaderNotPresentText =
    u"This operation is not valid because the current image contains no valid header.";
inline constexpr const Char* EInvalidSpec = u"The \"Portable Network Graphics\" could not be created because "
                                            u"invalid image type parameters have being "
                                            u"provided.";
inline constexpr const Char* sOutOfData = u"Premature end of data";
inline constexpr const Char* sBadSignature = u"Invalid GIF signature";
inline constexpr const Char* sBadVersion = u"Unsupported GIF version";
inline constexpr const Char* sBadBlock = u"Unknown GIF block type";
inline constexpr const Char* sInvalidData = u"Invalid GIF data";
inline constexpr const Char* sNoColorTable = u"No global or local color table defined";
inline constexpr const Char* sBadDimension = u"Invalid image dimensions";
inline constexpr const Char* sEmptyImage = u"Image is empty";
// Pictures of the rendering support, decoded through global memory and OLE or GDI+.
inline constexpr const Char* SImageAllocError = u"Could not allocate memory for image";
inline constexpr const Char* SImageStreamError = u"Could not create image stream";
inline constexpr const Char* SImageEmptyStream = u"Empty image stream created";
inline constexpr const Char* SImageInvalidFormat = u"Could not load image. Invalid format";
inline constexpr const Char* SImageLoadError = u"Could not load image";
// The component framework: classes, components, streaming and form descriptions.
inline constexpr const Char* SAbstractError = u"Abstract Error";
inline constexpr const Char* SAssignError = u"Cannot assign a %s to a %s";
inline constexpr const Char* SClassNotFound = u"Class %s not found";
inline constexpr const Char* SDuplicateClass = u"A class named %s already exists";
inline constexpr const Char* SInvalidName = u"'%s' is not a valid component name";
inline constexpr const Char* SDuplicateName = u"A component named %s already exists";
inline constexpr const Char* SInvalidStreamFormat = u"Invalid stream format";
inline constexpr const Char* SUnknownProperty = u"Property %s does not exist";
inline constexpr const Char* SPropertyException = u"Error reading %s.%s: %s";
inline constexpr const Char* SInvalidPropertyValue = u"Invalid property value";
inline constexpr const Char* SInvalidPropertyPath = u"Invalid property path";
inline constexpr const Char* SReadOnlyProperty = u"Property is read-only";
inline constexpr const Char* SInvalidPropertyElement = u"Invalid property element: %s";
inline constexpr const Char* SAncestorNotFound = u"Ancestor for '%s' not found";
inline constexpr const Char* SMethodNotFound = u"Method %s not found";
inline constexpr const Char* SResNotFound = u"Resource %s not found";
inline constexpr const Char* SInvalidBinary = u"Invalid binary value";
inline constexpr const Char* SInvalidString = u"Invalid string constant";
inline constexpr const Char* SIdentifierExpected = u"Identifier expected";
inline constexpr const Char* SStringExpected = u"String expected";
inline constexpr const Char* SNumberExpected = u"Number expected";
inline constexpr const Char* SCharExpected = u"'%s' expected";
inline constexpr const Char* SSymbolExpected = u"%s expected";
inline constexpr const Char* SParseError = u"%s on line %d";
// Threads.
inline constexpr const Char* SThreadStartError = u"Cannot call Start on a running or suspended thread";
inline constexpr const Char* SCheckSynchronizeError =
    u"CheckSynchronize called from thread $%x, which is NOT the main thread";
// Assertions.
inline constexpr const Char* SAssertionFailed = u"Assertion failure";
inline constexpr const Char* SAssertError = u"%s (%s, line %d)";
// The registry watch of the theme notifier.
inline constexpr const Char* SRegMonitorOpenKey = u"Unable to open registry key ";
// Dialogs and the application.
inline constexpr const Char* SMsgDlgWarning = u"Warning";
inline constexpr const Char* SMsgDlgError = u"Error";
inline constexpr const Char* SMsgDlgInformation = u"Information";
inline constexpr const Char* SMsgDlgConfirm = u"Confirm";
inline constexpr const Char* SPromptArrayMismatch = u"Prompt and value arrays must be of the same length";
inline constexpr const Char* SPromptArrayEmpty = u"Prompt array must not be empty";
inline constexpr const Char* SExceptionUnknown = u"Exception of an unknown type";
inline constexpr const Char* SNoTimers = u"Not enough timers available";
// Images.
inline constexpr const Char* SImageCanvasNeedsBitmap = u"Can only modify an image if it contains a bitmap";
// The clipboard.
inline constexpr const Char* SOutOfMemory = u"Out of memory";
inline constexpr const Char* SCannotOpenClipboard = u"Cannot open clipboard";
inline constexpr const Char* SUnknownClipboardFormat = u"Unsupported clipboard format";
// Printers.
inline constexpr const Char* SPrinterIndexError = u"Printer index out of range";
inline constexpr const Char* SPrinting = u"Printing in progress";
inline constexpr const Char* SNotPrinting = u"Printer is not currently printing";
inline constexpr const Char* SInvalidPrinter = u"Printer selected is not valid";
inline constexpr const Char* SNoDefaultPrinter = u"There is no default printer currently selected";
// The file dialogs' reports of a name that cannot be taken, and their captions.
inline constexpr const Char* SOpenDialogTitle = u"Open";
inline constexpr const Char* SSaveDialogTitle = u"Save As";
inline constexpr const Char* SFileNotFound = u"%s\r\nFile not found.\r\nCheck the file name and try again.";
inline constexpr const Char* SPathNotFound = u"%s\r\nPath does not exist.\r\nCheck the path and try again.";
inline constexpr const Char* SFileExistsReplace = u"%s already exists.\r\nDo you want to replace it?";
inline constexpr const Char* SConfirmSaveAs = u"Confirm Save As";
// Scroll bars.
inline constexpr const Char* SScrollBarRange = u"Scrollbar property out of range";
// Menus and their short cuts.
inline constexpr const Char* SMenuIndexError = u"Menu index out of range";
inline constexpr const Char* SMenuInserted = u"Menu inserted twice";
inline constexpr const Char* SMenuNotFound = u"Sub-menu is not in menu";
inline constexpr const Char* SmkcBkSp = u"BkSp";
inline constexpr const Char* SmkcTab = u"Tab";
inline constexpr const Char* SmkcEsc = u"Esc";
inline constexpr const Char* SmkcEnter = u"Enter";
inline constexpr const Char* SmkcSpace = u"Space";
inline constexpr const Char* SmkcPgUp = u"PgUp";
inline constexpr const Char* SmkcPgDn = u"PgDn";
inline constexpr const Char* SmkcEnd = u"End";
inline constexpr const Char* SmkcHome = u"Home";
inline constexpr const Char* SmkcLeft = u"Left";
inline constexpr const Char* SmkcUp = u"Up";
inline constexpr const Char* SmkcRight = u"Right";
inline constexpr const Char* SmkcDown = u"Down";
inline constexpr const Char* SmkcIns = u"Ins";
inline constexpr const Char* SmkcDel = u"Del";
inline constexpr const Char* SmkcShift = u"Shift+";
inline constexpr const Char* SmkcCtrl = u"Ctrl+";
inline constexpr const Char* SmkcAlt = u"Alt+";
inline constexpr const Char* SIndexOutOfRange = u"Grid index out of range";
inline constexpr const Char* SFixedColTooBig = u"Fixed column count must be less than column count";
inline constexpr const Char* SFixedRowTooBig = u"Fixed row count must be less than row count";
inline constexpr const Char* SInvalidStringGridOp = u"Cannot insert or delete rows from grid";
inline constexpr const Char* SMaskErr = u"Invalid input value";
inline constexpr const Char* SMaskEditErr = u"Invalid input value.  Use escape key to abandon changes";
// Date controls.
inline constexpr const Char* SDateTimeMax = u"Date exceeds maximum of %s";
inline constexpr const Char* SDateTimeMin = u"Date is less than minimum of %s";
inline constexpr const Char* SInvalidDateTimeRange = u"Minimum date %s is later than maximum date %s";
} // namespace Consts
