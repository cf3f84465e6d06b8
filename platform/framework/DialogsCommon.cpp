// The common dialogs: files, folders, colours, fonts and printers, asked through the dialog service.
#include "platform/framework/Dialogs.h"

#include <algorithm>

#include "platform/framework/Printers.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/dialogs.h"

DEFINE_CLASS(TCommonDialog, EVENT(OnClose), EVENT(OnShow))
DEFINE_CLASS(TOpenDialog, PROPERTY(DefaultExt), PROPERTY(FileName), PROPERTY(Filter),
             PROPERTY(FilterIndex).Default(1), PROPERTY(InitialDir),
             PROPERTY(Options).Default(TOpenOptions{ofHideReadOnly, ofEnableSizing}), PROPERTY(Title))
DEFINE_CLASS(TSaveDialog)
DEFINE_CLASS(TColorDialog, PROPERTY(Color).Type(TypeInfoColor()).Default(clBlack), PROPERTY(CustomColors),
             PROPERTY(Options).Default(TColorDialogOptions{}))
DEFINE_CLASS(TFontDialog, PROPERTY(Font))
DEFINE_CLASS(TPrintDialog, PROPERTY(Collate).Default(false), PROPERTY(Copies).Default(0),
             PROPERTY(FromPage).Default(0), PROPERTY(MaxPage).Default(0), PROPERTY(MinPage).Default(0),
             PROPERTY(PrintRange).Default(prAllPages), PROPERTY(ToPage).Default(0))
DEFINE_CLASS(TPrinterSetupDialog)

namespace {

// The pairs of "description|patterns|description|patterns"; a description without patterns gets none.
std::vector<win32::FileFilter> ParseFilter(const String& filter) {
    std::vector<win32::FileFilter> filters;
    std::vector<String> parts;
    size_t start = 0;
    while (start <= filter.size() && !filter.empty()) {
        size_t bar = filter.find(u'|', start);
        parts.push_back(filter.substr(start, bar == String::npos ? String::npos : bar - start));
        if (bar == String::npos)
            break;
        start = bar + 1;
    }
    for (size_t i = 0; i < parts.size(); i += 2)
        filters.push_back({parts[i], i + 1 < parts.size() ? parts[i + 1] : String()});
    return filters;
}

HWND DialogOwner() {
    return GetActiveWindow();
}

// The hex text of a colour list entry ("FFFFFF"); white when it cannot be read.
COLORREF CustomColor(const String& value) {
    Integer color = 0;
    if (value.empty() || !TryStrToInt(u"$" + value, color))
        return 0xFFFFFF;
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

} // namespace

// ---- TCommonDialog ----

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}

bool TCommonDialog::Run(const std::function<bool()>& show) {
    if (OnShow)
        OnShow(this);
    bool accepted = show();
    if (OnClose)
        OnClose(this);
    return accepted;
}

// ---- TOpenDialog and TSaveDialog ----

namespace {

// The extension a name without one gets. Forms give DefaultExt as "xls", ".xls" or as the filter's
// pattern "*.xls"; each means "xls", never a name ending in ".*.xls".
String AppendedExtension(const String& defaultExt) {
    size_t start = defaultExt.find_first_not_of(u"*.");
    return start == String::npos ? String() : defaultExt.substr(start);
}

} // namespace

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Accept(std::vector<String>& files) {
    String caption =
        !FTitle.empty() ? FTitle : String(IsSave() ? Consts::SSaveDialogTitle : Consts::SOpenDialogTitle);
    for (String& file : files) {
        String ext = AppendedExtension(FDefaultExt);
        if (!ext.empty() && ExtractFileExt(ExtractFileName(file)).empty())
            file += u"." + ext;
        if (!FInitialDir.empty() && !file.empty() && file[0] != u'/')
            file = IncludeTrailingPathDelimiter(FInitialDir) + file;
        String dir = ExtractFileDir(file);
        if ((FOptions.Contains(ofPathMustExist) || FOptions.Contains(ofFileMustExist)) && !dir.empty() &&
            !DirectoryExists(dir)) {
            MessageBoxW(DialogOwner(), Format(Consts::SPathNotFound, {file}).c_str(), caption.c_str(),
                        MB_OK | MB_ICONWARNING);
            return false;
        }
        if (FOptions.Contains(ofFileMustExist) && !FileExists(file)) {
            MessageBoxW(DialogOwner(), Format(Consts::SFileNotFound, {file}).c_str(), caption.c_str(),
                        MB_OK | MB_ICONWARNING);
            return false;
        }
        if (IsSave() && FOptions.Contains(ofOverwritePrompt) && FileExists(file) &&
            MessageBoxW(DialogOwner(), Format(Consts::SFileExistsReplace, {file}).c_str(),
                        Consts::SConfirmSaveAs, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return false;
    }
    return true;
}

bool TOpenDialog::Execute() {
    return Run([this] {
        win32::FileRequest request;
        request.kind = IsSave() ? win32::FileRequest::Kind::Save : win32::FileRequest::Kind::Open;
        request.owner = DialogOwner();
        request.title = FTitle;
        request.initialDir = FInitialDir;
        request.defaultExt = AppendedExtension(FDefaultExt);
        request.filters = ParseFilter(FFilter);
        request.multiSelect = FOptions.Contains(ofAllowMultiSelect);
        request.fileMustExist = FOptions.Contains(ofFileMustExist);
        request.pathMustExist = FOptions.Contains(ofPathMustExist);
        request.overwritePrompt = IsSave() && FOptions.Contains(ofOverwritePrompt);
        // The dialog stays until the user cancels or chooses names that keep the options' rules.
        for (;;) {
            request.filterIndex =
                request.filters.empty()
                    ? 0
                    : static_cast<size_t>(
                          std::clamp<Integer>(FFilterIndex, 1, static_cast<Integer>(request.filters.size())) -
                          1);
            request.files = FFileName.empty() ? std::vector<String>{} : std::vector<String>{FFileName};
            if (!win32::GetDialogService().FileDialog(request))
                return false;
            std::vector<String> files = request.files;
            if (!request.multiSelect && files.size() > 1)
                files.resize(1);
            if (files.empty())
                return false;
            if (!request.filters.empty())
                FFilterIndex = static_cast<Integer>(request.filterIndex) + 1;
            if (Accept(files)) {
                FFiles->Clear();
                for (const String& file : files)
                    FFiles->Add(file);
                FFileName = files.front();
                return true;
            }
            FFileName = ExtractFileName(files.front());
        }
    });
}

// ---- TColorDialog ----

TColorDialog::TColorDialog(TComponent* owner)
    : TCommonDialog(owner), FCustomColors(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute() {
    return Run([this] {
        win32::ColorRequest request;
        request.owner = DialogOwner();
        request.color = ColorToRGB(FColor);
        request.fullOpen = FOptions.Contains(cdFullOpen);
        for (Char letter = u'A'; letter <= u'P'; ++letter)
            request.customColors.push_back(CustomColor(FCustomColors->Values(String(u"Color") + letter)));
        if (!win32::GetDialogService().ChooseColor(request))
            return false;
        FColor = static_cast<TColor>(request.color & 0xFFFFFF);
        for (size_t i = 0; i < request.customColors.size() && i < 16; ++i)
            FCustomColors->SetValues(String(u"Color") + static_cast<Char>(u'A' + i),
                                     IntToHex(static_cast<Integer>(request.customColors[i] & 0xFFFFFF), 6));
        return true;
    });
}

// ---- TFontDialog ----

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
    return Run([this] {
        win32::FontRequest request;
        request.owner = DialogOwner();
        request.name = FFont->Name();
        request.size = FFont->Size();
        TFontStyles style = FFont->Style();
        request.bold = style.Contains(fsBold);
        request.italic = style.Contains(fsItalic);
        request.underline = style.Contains(fsUnderline);
        request.strikeOut = style.Contains(fsStrikeOut);
        request.color = ColorToRGB(FFont->Color());
        if (!win32::GetDialogService().ChooseFont(request))
            return false;
        FFont->SetName(request.name);
        if (request.size > 0)
            FFont->SetSize(request.size);
        TFontStyles chosen;
        if (request.bold)
            chosen.Include(fsBold);
        if (request.italic)
            chosen.Include(fsItalic);
        if (request.underline)
            chosen.Include(fsUnderline);
        if (request.strikeOut)
            chosen.Include(fsStrikeOut);
        FFont->SetStyle(chosen);
        FFont->SetColor(static_cast<TColor>(request.color & 0xFFFFFF));
        return true;
    });
}

// ---- The print dialogs ----

namespace {

win32::PrintRequest PrinterRequest(win32::PrintRequest::Kind kind) {
    win32::PrintRequest request;
    request.kind = kind;
    request.owner = DialogOwner();
    TStrings* printers = Printer()->Printers();
    for (Integer i = 0; i < printers->Count(); ++i)
        request.printers.push_back(printers->Strings(i));
    request.printer = static_cast<size_t>(std::max<Integer>(Printer()->PrinterIndex(), 0));
    request.outputFile = Printer()->OutputFile();
    return request;
}

// The printer chosen becomes the current one, with the file chosen for the PDF printer; an answer naming
// no printer changes nothing.
void TakePrinter(const win32::PrintRequest& request) {
    if (request.printer < static_cast<size_t>(Printer()->Printers()->Count()))
        Printer()->SetPrinterIndex(static_cast<Integer>(request.printer));
    Printer()->SetOutputFile(request.outputFile);
}

} // namespace

TPrintDialog::TPrintDialog(TComponent* owner) : TCommonDialog(owner) {}

bool TPrintDialog::Execute() {
    return Run([this] {
        win32::PrintRequest request = PrinterRequest(win32::PrintRequest::Kind::Print);
        request.copies = std::max<Integer>(FCopies, 1);
        request.collate = FCollate;
        request.minPage = FMinPage;
        request.maxPage = FMaxPage;
        request.fromPage = FPrintRange == prPageNums ? FFromPage : 0;
        request.toPage = FPrintRange == prPageNums ? FToPage : 0;
        if (!win32::GetDialogService().PrintDialog(request))
            return false;
        TakePrinter(request);
        FCopies = request.copies;
        FCollate = request.collate;
        if (request.fromPage > 0) {
            FPrintRange = prPageNums;
            FFromPage = request.fromPage;
            FToPage = std::max(request.toPage, request.fromPage);
        } else if (FPrintRange == prPageNums) {
            FPrintRange = prAllPages;
        }
        return true;
    });
}

bool TPrinterSetupDialog::Execute() {
    return Run([] {
        win32::PrintRequest request = PrinterRequest(win32::PrintRequest::Kind::Setup);
        if (!win32::GetDialogService().PrintDialog(request))
            return false;
        TakePrinter(request);
        return true;
    });
}

// ---- Folders ----

bool SelectDirectory(const String& caption, const String& root, String& directory) {
    win32::FolderRequest request;
    request.owner = DialogOwner();
    request.caption = caption;
    request.root = root;
    request.directory = directory;
    if (!win32::GetDialogService().SelectFolder(request))
        return false;
    directory = request.directory;
    return true;
}
