// The print-settings dialog driven without a display: the user's part is played once the form is up.
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "controls/AdvSpin.h"
#include "grid/files/asgprint.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UString.h"
#include "tests/support/TestSupport.h"

namespace {

// Runs the dialog; once its form is up, act(form) plays the user's part and closes it.
bool RunDialog(TAdvGridPrintSettingsDialog& dialog,
               const std::function<void(TAdvGridPrintSettingsForm*)>& act) {
    int idle = 0;
    Application->OnIdle = [&](TObject*, bool& done) {
        done = false;
        TAdvGridPrintSettingsForm* form = dialog.Form();
        if (!form->Visible())
            return;
        if (idle == 0)
            act(form);
        else if (idle == 1000) {
            ADD_FAILURE() << "the dialog did not close";
            form->SetModalResult(mrCancel);
        }
        ++idle;
    };
    struct Restore {
        ~Restore() { Application->OnIdle = nullptr; }
    } restore;
    return dialog.Execute();
}

TEST(PrintSettingsDialog, WithoutAGridItRaisesAndShowsNothing) {
    TAdvGridPrintSettingsDialog dialog(nullptr);
    try {
        dialog.Execute();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"The dialog does not have a grid component assigned.");
    }
    EXPECT_FALSE(dialog.Form()->Visible());
}

TEST(PrintSettingsDialog, PropertiesAndOptionsShapeTheForm) {
    TAdvGridPrintSettingsDialog dialog(nullptr);
    dialog.SetPrintPreviewWidth(3000);
    EXPECT_EQ(dialog.PrintPreviewWidth(), 250);
    dialog.SetPrintPreviewWidth(0);
    EXPECT_EQ(dialog.PrintPreviewWidth(), 0);

    TAdvGridPrintSettingsForm* form = dialog.Form();
    EXPECT_EQ(form->Caption(), u"Print Settings");
    EXPECT_TRUE(form->TabMargins->TabVisible());
    dialog.SetOptions(TPrintSettingsOptions{psBorders, psGeneral, psFonts, psDateTime, psTitle, psPages});
    EXPECT_FALSE(form->TabMargins->TabVisible());
    EXPECT_FALSE(form->TabPreferences->TabVisible());
    EXPECT_TRUE(form->TabHeaders->TabVisible());
    EXPECT_FALSE(form->LeftMarginSpinEdit->Enabled());
    EXPECT_TRUE(form->BorderComboBox->Enabled());

    dialog.SetPrintPreview(false);
    EXPECT_FALSE(form->PreviewPanel->Visible());
    EXPECT_EQ(form->ClientWidth(), form->PageControl->Width());
}

TEST(PrintSettingsDialog, SizesAreEnteredInMillimetresOrInches) {
    struct Case {
        const char* name;
        bool inch;
        double value;
        Integer stored;
    };
    for (const Case& c : {Case{"mm", false, 12.5, 125}, Case{"inch", true, 1.0, 254}}) {
        SCOPED_TRACE(c.name);
        TAdvStringGrid grid(nullptr);
        TAdvGridPrintSettingsDialog dialog(nullptr);
        dialog.SetGrid(&grid);
        dialog.SetPrintDimensions(c.inch ? pdinch : pdmm);
        EXPECT_TRUE(RunDialog(dialog, [&](TAdvGridPrintSettingsForm* form) {
            form->DimensionClick(form->dimr2);
            EXPECT_EQ(form->dim3->Caption(), c.inch ? u"inch" : u"mm");
            form->LeftMarginSpinEdit->SetFloatValue(c.value);
            form->UpdatePreviewer();
            form->SetModalResult(mrOk);
        }));
        EXPECT_EQ(grid.PrintSettings()->LeftSize(), c.stored);
    }
}

TEST(PrintSettingsDialog, CancelPutsTheSettingsBackAndOkKeepsThem) {
    for (TModalResult result : {mrCancel, mrOk}) {
        TAdvStringGrid grid(nullptr);
        grid.PrintSettings()->SetBorders(pbSingle);
        TAdvGridPrintSettingsDialog dialog(nullptr);
        dialog.SetGrid(&grid);
        const bool confirmed = RunDialog(dialog, [&](TAdvGridPrintSettingsForm* form) {
            EXPECT_TRUE(form->BorderStyleComboBox->Enabled());
            form->BorderStyleComboBox->SetItemIndex(2);
            form->ControlChange(form->BorderStyleComboBox);
            EXPECT_EQ(grid.PrintSettings()->BorderStyle(), psDot); // edited while open
            form->SetModalResult(result);
        });
        EXPECT_EQ(confirmed, result == mrOk);
        EXPECT_EQ(grid.PrintSettings()->BorderStyle(), result == mrOk ? psDot : psSolid);
        EXPECT_FALSE(grid.FastPrint());
    }
}

TEST(PrintSettingsDialog, ATitleNeedsAPositionAndTitleTextBecomesLines) {
    TAdvStringGrid grid(nullptr);
    grid.PrintSettings()->SetTitleText(u"Log");
    TAdvGridPrintSettingsDialog dialog(nullptr);
    dialog.SetGrid(&grid);
    RunDialog(dialog, [&](TAdvGridPrintSettingsForm* form) {
        EXPECT_FALSE(form->TitleMemo->Enabled());
        EXPECT_EQ(form->TitleMemo->Lines()->Text(), u"Log\r\n");
        form->TitlePositionComboBox->SetItemIndex(3);
        form->TitlePositionComboBoxChange(form->TitlePositionComboBox);
        EXPECT_TRUE(form->TitleMemo->Enabled());
        form->SetModalResult(mrOk);
    });
    EXPECT_EQ(grid.PrintSettings()->TitleText(), u"");
    EXPECT_EQ(grid.PrintSettings()->Title(), ppTopCenter);
    ASSERT_EQ(grid.PrintSettings()->TitleLines()->Count(), 1);
}

TEST(PrintSettingsDialog, LoadingReadsTheNamedFileWithItsExtension) {
    const std::string folder = testing_support::MakeTestFolder("asgprint");
    std::ofstream(folder + "/grid.ini") << "[PRINTSETTINGS]\nBorders=2\nLeftSize=250\n";
    TAdvStringGrid grid(nullptr);
    TAdvGridPrintSettingsDialog dialog(nullptr);
    dialog.SetGrid(&grid);
    dialog.SetIniFile(Utf8ToString(folder + "/grid"));
    EXPECT_TRUE(RunDialog(dialog, [&](TAdvGridPrintSettingsForm* form) {
        form->LoadSettingsClick(form->LoadSettings);
        EXPECT_EQ(form->BorderComboBox->ItemIndex(), 2);
        EXPECT_DOUBLE_EQ(form->LeftMarginSpinEdit->FloatValue(), 25.0);
        form->SetModalResult(mrOk);
    }));
    EXPECT_EQ(grid.PrintSettings()->Borders(), pbDouble);
    EXPECT_EQ(grid.PrintSettings()->LeftSize(), 250);
}

} // namespace
