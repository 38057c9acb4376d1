// The main window's controls and layouts, row by row in the order they join the window.
#include "ui/main_window_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "ui/frm_main.h"
#include "ui/output_view.h"

namespace daybridge {

namespace window_table {

std::span<const Layout> Layouts() {
    static constexpr Layout kLayouts[] = {
        {.box = Box::Content,
         .arrange = Arrange::Column,
         .spacing = 8,
         .margins = {10, 10, 10, 10}},
        {.box = Box::Input,
         .arrange = Arrange::Grid,
         .spacing = 8,
         .verticalSpacing = 6,
         .margins = {12, 10, 12, 10},
         .stretchColumn = 5,
         .tallRow = 2,
         .tallRowHeight = 34},
        {.box = Box::FirstField, .arrange = Arrange::Row, .spacing = 0},
        {.box = Box::DifferenceField, .arrange = Arrange::Row, .spacing = 0},
        {.box = Box::SecondField, .arrange = Arrange::Row, .spacing = 0},
        {.box = Box::Checks,
         .arrange = Arrange::Grid,
         .spacing = 24,
         .verticalSpacing = 2,
         .margins = {0, 6, 0, 0},
         .stretchColumn = 2},
        {.box = Box::Commands, .arrange = Arrange::Row},
        {.box = Box::Today, .arrange = Arrange::Row},
        {.box = Box::Output, .arrange = Arrange::Column},
        {.box = Box::Files, .arrange = Arrange::Row},
        {.box = Box::OutputButtons, .arrange = Arrange::Row},
    };
    return kLayouts;
}

}  // namespace window_table

std::span<const window_table::Control> frmMain::ControlTable() {
    using namespace window_table;
    constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
    // clang-format off
    static constexpr Control kControls[] = {
        // Frame3: the fields, each with its Today and Clear buttons, the calendars of the dates
        // below each date, and the computation options. Column 1 holds a field and its arrows;
        // the buttons line up in columns 2 to 4.
        {.make = Make::Panel, .name = "Frame3", .holds = Box::Input, .look = Look::OnPanel, .bind = Bind<&frmMain::Frame3>},
        {.make = Make::Label, .name = "lblFirstDate", .in = Box::Input, .row = 0, .column = 0, .align = kRight, .look = Look::OnPanel, .bind = Bind<&frmMain::lblFirstDate>},
        {.make = Make::Layout, .in = Box::Input, .holds = Box::FirstField, .row = 0, .column = 1},
        {.make = Make::Field, .name = "txbFirstDate", .in = Box::FirstField, .size = 21, .font = Font::Fixed, .points = 12, .flags = kWatched, .bind = Bind<&frmMain::txbFirstDate>},
        {.make = Make::Spacing, .in = Box::FirstField, .size = 1},
        {.make = Make::StepArrows, .name = "VScroll0", .in = Box::FirstField, .fixedWidth = 18, .index = 0, .bind = Bind<&frmMain::VScroll, 0>},
        {.make = Make::Stretch, .in = Box::FirstField},
        {.make = Make::Button, .name = "cmdToday0", .in = Box::Input, .row = 0, .column = 2, .minimumWidth = 90, .index = 0, .bind = Bind<&frmMain::cmdToday, 0>},
        {.make = Make::Button, .name = "cmdClearFirstDate", .in = Box::Input, .row = 0, .column = 3, .minimumWidth = 90, .bind = Bind<&frmMain::cmdClearFirstDate>},
        {.make = Make::Label, .name = "lblThisIsA0", .in = Box::Input, .row = 1, .column = 0, .index = 0, .look = Look::OnPanel, .flags = kTopRightText, .bind = Bind<&frmMain::lblThisIsA, 0>},
        {.make = Make::CalendarOptions, .name = "Frame1", .in = Box::Input, .row = 1, .column = 1, .columnSpan = 5, .index = 0, .look = Look::OnPanel, .bind = Bind<&frmMain::Frame1>},
        {.make = Make::Label, .name = "lblDateDifference", .in = Box::Input, .row = 2, .column = 0, .align = kRight, .look = Look::OnPanel, .bind = Bind<&frmMain::lblDateDifference>},
        {.make = Make::Layout, .in = Box::Input, .holds = Box::DifferenceField, .row = 2, .column = 1},
        {.make = Make::Field, .name = "txbDateDiffDays", .in = Box::DifferenceField, .size = 21, .font = Font::Fixed, .points = 12, .flags = kWatched, .bind = Bind<&frmMain::txbDateDiffDays>},
        {.make = Make::Spacing, .in = Box::DifferenceField, .size = 0},
        {.make = Make::Stretch, .in = Box::DifferenceField},
        {.make = Make::Label, .name = "lblDayOrDays", .in = Box::Input, .row = 2, .column = 2, .look = Look::OnPanel, .bind = Bind<&frmMain::lblDayOrDays>},
        {.make = Make::Button, .name = "cmdClearDateDiffDays", .in = Box::Input, .row = 2, .column = 3, .minimumWidth = 90, .bind = Bind<&frmMain::cmdClearDateDiffDays>},
        {.make = Make::Label, .name = "lblSecondDate", .in = Box::Input, .row = 3, .column = 0, .align = kRight, .look = Look::OnPanel, .bind = Bind<&frmMain::lblSecondDate>},
        {.make = Make::Layout, .in = Box::Input, .holds = Box::SecondField, .row = 3, .column = 1},
        {.make = Make::Field, .name = "txbSecondDate", .in = Box::SecondField, .size = 21, .font = Font::Fixed, .points = 12, .flags = kWatched, .bind = Bind<&frmMain::txbSecondDate>},
        {.make = Make::Spacing, .in = Box::SecondField, .size = 1},
        {.make = Make::StepArrows, .name = "VScroll1", .in = Box::SecondField, .fixedWidth = 18, .index = 1, .bind = Bind<&frmMain::VScroll, 1>},
        {.make = Make::Stretch, .in = Box::SecondField},
        {.make = Make::Button, .name = "cmdToday1", .in = Box::Input, .row = 3, .column = 2, .minimumWidth = 90, .index = 1, .bind = Bind<&frmMain::cmdToday, 1>},
        {.make = Make::Button, .name = "cmdClearSecondDate", .in = Box::Input, .row = 3, .column = 3, .minimumWidth = 90, .bind = Bind<&frmMain::cmdClearSecondDate>},
        {.make = Make::Button, .name = "cmdMoveSecondDateToFirst", .in = Box::Input, .row = 3, .column = 4, .bind = Bind<&frmMain::cmdMoveSecondDateToFirst>},
        {.make = Make::Label, .name = "lblThisIsA1", .in = Box::Input, .row = 4, .column = 0, .index = 1, .look = Look::OnPanel, .flags = kTopRightText, .bind = Bind<&frmMain::lblThisIsA, 1>},
        {.make = Make::CalendarOptions, .name = "Frame2", .in = Box::Input, .row = 4, .column = 1, .columnSpan = 5, .index = 1, .look = Look::OnPanel, .bind = Bind<&frmMain::Frame2>},
        {.make = Make::Layout, .in = Box::Input, .holds = Box::Checks, .row = 5, .column = 1, .columnSpan = 5},
        {.make = Make::CheckBox, .name = "chkIncludeFirstDate", .in = Box::Checks, .row = 0, .column = 0, .look = Look::OnPanel, .bind = Bind<&frmMain::chkIncludeFirstDate>},
        {.make = Make::CheckBox, .name = "chkIncludeWeekends", .in = Box::Checks, .row = 0, .column = 1, .look = Look::OnPanel, .bind = Bind<&frmMain::chkIncludeWeekends>},
        {.make = Make::CheckBox, .name = "chkVerbose", .in = Box::Checks, .row = 1, .column = 0, .look = Look::OnPanel, .bind = Bind<&frmMain::chkVerbose>},
        {.make = Make::CheckBox, .name = "chkSaveOutput", .in = Box::Checks, .row = 1, .column = 1, .look = Look::OnPanel, .bind = Bind<&frmMain::chkSaveOutput>},

        // The command row.
        {.make = Make::Layout, .holds = Box::Commands},
        {.make = Make::DefaultButton, .name = "cmdCompute", .in = Box::Commands, .minimumWidth = 110, .font = Font::Bold, .bind = Bind<&frmMain::cmdCompute>},
        {.make = Make::Spacing, .in = Box::Commands, .size = 16},
        {.make = Make::Button, .name = "cmdDisplayMonth", .in = Box::Commands, .minimumWidth = 110, .bind = Bind<&frmMain::cmdDisplayMonth>},
        {.make = Make::Button, .name = "cmdConfigure", .in = Box::Commands, .minimumWidth = 110, .bind = Bind<&frmMain::cmdConfigure>},
        {.make = Make::Button, .name = "cmdReset", .in = Box::Commands, .minimumWidth = 110, .bind = Bind<&frmMain::cmdReset>},
        {.make = Make::Stretch, .in = Box::Commands},
        {.make = Make::Label, .name = "lblLanguage", .in = Box::Commands, .bind = Bind<&frmMain::lblLanguage>},
        {.make = Make::Combo, .name = "cboLanguage", .in = Box::Commands, .bind = Bind<&frmMain::cboLanguage>},
        {.make = Make::Spacing, .in = Box::Commands, .size = 16},
        {.make = Make::Button, .name = "cmdQuit", .in = Box::Commands, .minimumWidth = 110, .bind = Bind<&frmMain::cmdQuit>},

        // Today and a week from today.
        {.make = Make::Layout, .holds = Box::Today},
        {.make = Make::ClickLabel, .name = "lblTodaysDate", .in = Box::Today, .margin = 4, .look = Look::Filled, .flags = kWatched | kHandCursor, .bind = Bind<&frmMain::lblTodaysDate>},
        {.make = Make::Stretch, .in = Box::Today},
        {.make = Make::ClickLabel, .name = "lblWeekFromToday", .in = Box::Today, .margin = 4, .look = Look::Filled, .flags = kWatched | kHandCursor, .bind = Bind<&frmMain::lblWeekFromToday>},

        // Frame6: the input files and the output window, which takes the spare height.
        {.make = Make::Panel, .name = "Frame6", .holds = Box::Output, .stretch = 1, .look = Look::OnPanel, .bind = Bind<&frmMain::Frame6>},
        {.make = Make::Layout, .in = Box::Output, .holds = Box::Files},
        {.make = Make::FileCombo, .name = "cboInputFile", .in = Box::Files, .stretch = 1, .flags = kWatched, .bind = Bind<&frmMain::cboInputFile>},
        {.make = Make::Button, .name = "cmdInputFile", .in = Box::Files, .bind = Bind<&frmMain::cmdInputFile>},
        {.make = Make::Button, .name = "cmdView", .in = Box::Files, .bind = Bind<&frmMain::cmdView>},
        {.make = Make::Button, .name = "cmdRemoveInputFileFromList", .in = Box::Files, .bind = Bind<&frmMain::cmdRemoveInputFileFromList>},
        {.make = Make::Spacing, .in = Box::Files, .size = 12},
        {.make = Make::Button, .name = "cmdBatchCompute", .in = Box::Files, .minimumWidth = 130, .bind = Bind<&frmMain::cmdBatchCompute>},
        {.make = Make::Output, .name = "txbOutput", .in = Box::Output, .stretch = 1, .minimumHeight = 120, .font = Font::Fixed, .points = 11, .flags = kWatched, .bind = Bind<&frmMain::txbOutput>},
        {.make = Make::Layout, .in = Box::Output, .holds = Box::OutputButtons},
        {.make = Make::Button, .name = "cmdClearOutputWindow", .in = Box::OutputButtons, .bind = Bind<&frmMain::cmdClearOutputWindow>},
        {.make = Make::Button, .name = "cmdEnlarge", .in = Box::OutputButtons, .bind = Bind<&frmMain::cmdEnlarge>},
        {.make = Make::Button, .name = "cmdCopyOutput", .in = Box::OutputButtons, .bind = Bind<&frmMain::cmdCopyOutput>},
        {.make = Make::Stretch, .in = Box::OutputButtons},
        {.make = Make::ClickLabel, .name = "lblVelmoraSystems", .in = Box::OutputButtons, .font = Font::Underlined, .look = Look::Link, .flags = kWatched | kHandCursor, .bind = Bind<&frmMain::lblVelmoraSystems>},
        {.make = Make::Spacing, .in = Box::OutputButtons, .size = 16},
        {.make = Make::ClickLabel, .name = "lblOnlineDocumentation", .in = Box::OutputButtons, .font = Font::Underlined, .look = Look::Link, .flags = kWatched | kHandCursor, .bind = Bind<&frmMain::lblOnlineDocumentation>},
    };
    // clang-format on
    return kControls;
}

}  // namespace daybridge
