// Saving the in-memory workbook as an xlsx file with libxlsxwriter, a row at a time in its constant-memory
// mode, into a temporary file that replaces the target only once complete.
#include <xlsxwriter.h>

#include <cmath>
#include <memory>

#include "platform/framework/ComObj.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/servers/Workbook.h"

namespace servers {

namespace {

[[noreturn]] void SaveFailed(const String& fileName, const String& cause) {
    throw EOleException(u"Cannot save the workbook \"" + fileName + u"\". " + cause, kDispEException,
                        kSpreadsheetSource);
}

// The spreadsheet number format for one of the locale's date or time formats: the framework's "n" for
// minutes becomes "m" after an hour, "AMPM" becomes "AM/PM", and the locale's date and time separators
// replace "/" and ":".
std::string SheetDateFormat(StringView format) {
    String out;
    auto literal = [&out](Char c) {
        if (c != u'/' && c != u':' && c != u'.' && c != u'-' && c != u' ' && c != u',')
            out += u'\\';
        out += c;
    };
    for (size_t i = 0; i < format.size(); ++i) {
        const Char c = format[i];
        const Char upper = c >= u'a' && c <= u'z' ? Char(c - 32) : c;
        if (format.substr(i, 4) == u"AMPM" || format.substr(i, 4) == u"ampm") {
            out += u"AM/PM";
            i += 3;
        } else if (format.substr(i, 5) == u"AM/PM" || format.substr(i, 5) == u"am/pm" ||
                   format.substr(i, 3) == u"A/P" || format.substr(i, 3) == u"a/p") {
            const size_t length = format[i + 1] == u'/' ? 3 : 5;
            out += format.substr(i, length);
            i += length - 1;
        } else if (upper == u'N') {
            out += u'm';
        } else if (upper == u'D' || upper == u'Y' || upper == u'H' || upper == u'S' || upper == u'M') {
            out += Char(upper == u'M' ? u'm' : c | 0x20);
        } else if (c == u'/') {
            literal(FormatSettings.DateSeparator);
        } else if (c == u':') {
            literal(FormatSettings.TimeSeparator);
        } else if (c == u'"' || c == u'\'') {
            const size_t end = format.find(c, i + 1);
            const StringView quoted =
                format.substr(i + 1, end == StringView::npos ? StringView::npos : end - i - 1);
            out += u'"';
            out += quoted;
            out += u'"';
            i = end == StringView::npos ? format.size() : end;
        } else {
            literal(c);
        }
    }
    return StringToUtf8(out);
}

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

// A name beside target for the file being written.
String TemporaryName(const String& target) {
    static Integer counter = 0;
    const String folder = ExtractFilePath(target);
    const String name = ExtractFileName(target);
    for (;;) {
        const String candidate = folder + u".~" + name + u"." + IntToStr(++counter) + u".tmp";
        if (!FileExists(candidate))
            return candidate;
    }
}

// Copies the finished temporary file over the target through a committing stream, so that the target is
// flushed and replaced in one rename.
void Replace(const String& temporary, const String& fileName) {
    TFileStream source(temporary, fmOpenRead | fmShareDenyWrite);
    TAtomicFileStream target(fileName);
    std::unique_ptr<char[]> buffer(new char[1 << 20]);
    for (;;) {
        const Integer count = source.Read(buffer.get(), 1 << 20);
        if (count <= 0)
            break;
        target.WriteBuffer(buffer.get(), count);
    }
    target.Commit();
}

lxw_error WriteSheet(lxw_worksheet* worksheet, const TSheetData& sheet, lxw_format* dateFormat,
                     lxw_format* timeFormat, lxw_format* dateTimeFormat) {
    for (const auto& [row, cells] : sheet.Rows()) {
        for (const auto& [col, value] : cells) {
            const lxw_row_t r = lxw_row_t(row - 1);
            const lxw_col_t c = lxw_col_t(col - 1);
            lxw_error error = LXW_NO_ERROR;
            switch (value.VarType()) {
            case varDate: {
                const double date = value.AsDouble();
                lxw_format* format = std::trunc(date) == date ? dateFormat
                                     : std::trunc(date) == 0  ? timeFormat
                                                              : dateTimeFormat;
                error = worksheet_write_number(worksheet, r, c, date, format);
                break;
            }
            case varBoolean:
                error = worksheet_write_boolean(worksheet, r, c, value.AsBoolean(), nullptr);
                break;
            case varUString:
                error = worksheet_write_string(worksheet, r, c, StringToUtf8(value.AsStringRef()).c_str(),
                                               nullptr);
                break;
            case varError:
                // The file form has no plain error cell without a formula; the error's name stands in.
                error = worksheet_write_string(worksheet, r, c, "#N/A", nullptr);
                break;
            default:
                error = worksheet_write_number(worksheet, r, c, value.AsDouble(), nullptr);
                break;
            }
            if (error != LXW_NO_ERROR)
                return error;
        }
    }
    return LXW_NO_ERROR;
}

} // namespace

void WriteWorkbookFile(const TWorkbookData& workbook, const String& fileName) {
    const String temporary = TemporaryName(fileName);
    const std::string temporaryUtf8 = StringToUtf8(temporary);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    lxw_error error = LXW_NO_ERROR;
    {
        std::unique_ptr<lxw_workbook, WorkbookCloser> book(workbook_new_opt(temporaryUtf8.c_str(), &options));
        if (!book)
            SaveFailed(fileName, u"Out of memory.");
        auto makeFormat = [&](StringView format) {
            lxw_format* result = workbook_add_format(book.get());
            format_set_num_format(result, SheetDateFormat(format).c_str());
            return result;
        };
        lxw_format* dateFormat = makeFormat(FormatSettings.ShortDateFormat);
        lxw_format* timeFormat = makeFormat(FormatSettings.LongTimeFormat);
        lxw_format* dateTimeFormat =
            makeFormat(FormatSettings.ShortDateFormat + u" " + FormatSettings.LongTimeFormat);
        for (size_t i = 0; i < workbook.sheets.size() && error == LXW_NO_ERROR; ++i) {
            const std::string name = StringToUtf8(workbook.sheets[i]->Name());
            lxw_worksheet* worksheet = workbook_add_worksheet(book.get(), name.c_str());
            if (!worksheet) {
                error = LXW_ERROR_PARAMETER_VALIDATION;
                break;
            }
            if (i == workbook.activeSheet)
                worksheet_activate(worksheet);
            error = WriteSheet(worksheet, *workbook.sheets[i], dateFormat, timeFormat, dateTimeFormat);
        }
        if (error == LXW_NO_ERROR)
            error = workbook_close(book.release());
    }
    if (error != LXW_NO_ERROR) {
        DeleteFile(temporary);
        SaveFailed(fileName, Utf8ToString(lxw_strerror(error)));
    }
    try {
        Replace(temporary, fileName);
    } catch (const Exception& e) {
        DeleteFile(temporary);
        SaveFailed(fileName, e.Message());
    }
    DeleteFile(temporary);
}

} // namespace servers
