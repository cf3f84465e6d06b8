// What the theme handles and the part painter share: the classes the theme knows, what each part is,
// and the look of a part in a state.
#pragma once

#include "platform/win32/uxtheme.h"

namespace win32::theme {

enum class ThemeClass {
    Button,
    ComboBox,
    Edit,
    Header,
    ScrollBar,
    Spin,
    Progress,
    Toolbar,
    Tab,
    Window,
    ExplorerBar,
    Rebar,
    ListView,
    TreeView,
    Tooltip,
    Trackbar,
    Status,
};

// How a part is drawn; every part of every class maps to one of these.
enum class PartKind {
    None,       // not a part of the class
    PushButton, // bordered gradient face
    CheckBox,
    RadioButton,
    GroupBox,    // a frame only
    Field,       // the white box of an edit or combo box with its border
    Fill,        // a plain background fill without border
    ArrowButton, // a push face with an arrow glyph
    FlatButton,  // a toolbar-like button: nothing drawn until hot, pressed or checked
    HeaderItem,
    SortArrow, // the glyph alone
    ProgressBar,
    ProgressChunk,
    Caption,
    CaptionButton, // min, max, restore, close, help
    Frame,         // a window frame edge: solid border colour
    Track,         // a scroll-bar or trackbar track
    Thumb,         // a scroll-bar thumb
    SliderThumb,   // a trackbar thumb
    Gripper,       // a column of dots
    SizeBox,       // dots in the corner
    Separator,
    TabItem,
    TabPane,
    ListItem,  // selection and hot fills of list and tree items
    TreeGlyph, // the plus or minus box
    Tooltip,
    Tics,
};

enum class Arrow { None, Up, Down, Left, Right };
enum class Glyph { None, Minimize, Maximize, Restore, Close, Help, Pin, Chevron };

struct PartInfo {
    PartKind kind = PartKind::None;
    Arrow arrow = Arrow::None; // fixed arrow of the part (spin, header drop-down, combo button)
    Glyph glyph = Glyph::None;
    SIZE natural{0, 0}; // TS_TRUE
    // Not stretched: check and radio boxes take the largest square of the rectangle, other fixed-size
    // parts their natural size, centred.
    bool fixedSize = false;
    bool vertical = false; // bars, tracks and thumbs that run from top to bottom
};

// The visual state a numbered state of a part stands for. Inactive covers the states that are neither
// normal nor disabled in a quieter way: an inactive caption, a read-only edit, an item selected without
// the focus.
enum class Visual {
    Normal,
    Hot,
    Pressed,
    Disabled,
    Defaulted,
    Focused,
    Checked,
    HotChecked,
    Selected,
    Inactive
};

struct StateInfo {
    Visual visual = Visual::Normal;
    bool checked = false;      // check and radio boxes, tree glyphs (opened)
    bool mixed = false;        // check boxes in the third state
    Arrow arrow = Arrow::None; // scroll-bar arrows carry their direction in the state
    int fillState = 0;         // progress: 0 normal, 1 error, 2 paused
};

// The colours of a part in a state.
struct Look {
    COLORREF border;
    COLORREF faceTop;
    COLORREF faceBottom;
    COLORREF glyph;
    COLORREF text;
    bool drawFace = true; // false: the part leaves the background as it is
};

// The class named by one entry of a class list, or false.
bool FindThemeClass(StringView name, ThemeClass& themeClass);
PartInfo DescribePart(ThemeClass themeClass, int part);
StateInfo DescribeState(ThemeClass themeClass, int part, int state);
Look LookOf(ThemeClass themeClass, int part, int state);
// Border and padding around the content of the part.
MARGINS ContentMargins(ThemeClass themeClass, int part);

// Draws the part; false when the class has no such part.
bool PaintPart(HDC dc, ThemeClass themeClass, int part, int state, const RECT& rect);

} // namespace win32::theme
