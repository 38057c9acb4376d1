// The main window's controls as data: what each control is, its name, the layout it goes into
// and where, its sizes, font, colours and flags. main_window_layout.cpp makes the window from
// these rows, in their order: the order of the rows is the order in which the controls join the
// window, which is the Tab order and the order of the window's children.
#pragma once

#include <QObject>
#include <cstdint>
#include <span>

class QWidget;

namespace daybridge {

class frmMain;

namespace window_table {

// The layouts of the window, named by what they hold.
enum class Box : std::uint8_t {
    Content,          // the scrolled column of everything
    Input,            // Frame3's grid: fields, calendars, options
    FirstField,       // the first date field and its day-step arrows
    DifferenceField,  // the difference field
    SecondField,      // the second date field and its arrows
    Checks,           // the four check boxes
    Commands,         // Compute ... Quit
    Today,            // the two today labels
    Output,           // Frame6's column: files, output window, output buttons
    Files,            // the input-file list and its buttons
    OutputButtons,    // the output buttons and the two links
    None,
};
inline constexpr int kBoxCount = static_cast<int>(Box::None);

enum class Arrange : std::uint8_t { Grid, Row, Column };

// One layout. A value of -1 leaves Qt's own.
struct Layout {
    Box box;
    Arrange arrange;
    std::int8_t spacing = -1;                   // a grid's horizontal spacing
    std::int8_t verticalSpacing = -1;           // a grid's only
    std::int8_t margins[4] = {-1, -1, -1, -1};  // left, top, right, bottom
    std::int8_t stretchColumn = -1;             // a grid's column that takes the spare width
    std::int8_t tallRow = -1;                   // a grid's row that is at least tallRowHeight
    std::int8_t tallRowHeight = 0;
};

// What a row makes.
enum class Make : std::uint8_t {
    Layout,           // a layout (`holds`) inside `in`; later rows fill it
    Panel,            // a cyan panel with its own layout `holds`
    CalendarOptions,  // date field `index`'s calendar options, one per calendar of the registry
    Field,            // a date or difference field, `size` digits wide
    StepArrows,       // the day-step arrows beside a date field, as tall as the field
    Button,
    DefaultButton,  // Compute: the default button, marking its focus inside its face
    Label,
    ClickLabel,  // a label that takes the focus and is clicked (the today labels, the links)
    CheckBox,    // joins the check group; the ids follow the rows
    Combo,
    FileCombo,  // the editable input-file list
    Output,     // the output window
    Spacing,    // `size` pixels of space in a row
    Stretch,    // the stretch of a row
};

enum class Font : std::uint8_t { Standard, Fixed, Bold, Underlined };

// The colours of SetColours: cyan with black text, drawn by the parent or filled; link blue.
enum class Look : std::uint8_t { Plain, OnPanel, Filled, Link };

enum Flag : std::uint8_t {
    kWatched = 1,       // the window's event filter sees its keys and clicks
    kHandCursor = 2,    // the pointing hand over it
    kTopRightText = 4,  // a label's text stands at the top right
};

struct Control {
    Make make;
    const char* name = "";
    Box in = Box::Content;
    Box holds = Box::None;  // what a Layout or a Panel row opens
    // In a grid, the cell and spans; in a row or column the place is the row's order in the
    // table, and `stretch` its share of the spare room.
    std::int8_t row = 0;
    std::int8_t column = 0;
    std::int8_t rowSpan = 1;
    std::int8_t columnSpan = 1;
    Qt::Alignment align = {};
    std::int8_t stretch = 0;
    std::int16_t size = 0;  // a Spacing's pixels; a Field's width in digits
    std::int16_t minimumWidth = 0;
    std::int16_t minimumHeight = 0;
    std::int8_t fixedWidth = 0;
    std::int8_t margin = 0;  // a label's
    std::int8_t index = -1;  // in a control array (property "index"); a CalendarOptions' field
    Font font = Font::Standard;
    std::int8_t points = 0;  // of the Fixed font
    Look look = Look::Plain;
    std::uint8_t flags = 0;
    void (*bind)(frmMain&, QWidget*) = nullptr;  // stores the control in the window's member
};

std::span<const Layout> Layouts();

template <typename T>
void Store(T*& slot, QWidget* widget) {
    slot = qobject_cast<T*>(widget);
    Q_ASSERT_X(slot != nullptr, "Bind", "a row makes a kind of control its member cannot hold");
}

// Stores a made control in the window's `member`, or in element `element` of a member array.
template <auto member, int element = -1>
void Bind(frmMain& window, QWidget* widget) {
    if constexpr (element < 0) {
        Store(window.*member, widget);
    } else {
        Store((window.*member)[element], widget);
    }
}

}  // namespace window_table

}  // namespace daybridge
