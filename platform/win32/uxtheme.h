// The visual-styles library: theme handles for window classes, drawing of themed parts in their states,
// part sizes, colours and margins, and the switches that turn visual styles off.
//
// Every call answers as Win32 does and never throws. HRESULT results: S_OK on success, E_HANDLE for a
// theme handle that is not open, E_POINTER or E_INVALIDARG for a missing or bad argument,
// E_PROP_ID_UNSUPPORTED for a property, part or class the theme does not define.
//
// Visual styles are on while the system settings say so (win32::SystemSettings::themesActive, which tests
// and the settings switch off) and EnableTheming has not turned them off. While they are off,
// IsThemeActive and IsAppThemed answer FALSE and OpenThemeData answers NULL, so callers take their
// classic paths; handles opened before stay valid until closed.
#pragma once

#include <span>

#include "platform/win32/com.h"
#include "platform/win32/imagelist.h"
#include "platform/win32/winuser.h"

struct HTHEME__ {};
using HTHEME = HTHEME__*;

inline constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006);
inline constexpr HRESULT E_PROP_ID_UNSUPPORTED = static_cast<HRESULT>(0x80070490);
inline constexpr HRESULT E_INSUFFICIENT_BUFFER = static_cast<HRESULT>(0x8007007A);

struct MARGINS {
    int cxLeftWidth;
    int cxRightWidth;
    int cyTopHeight;
    int cyBottomHeight;
};
using PMARGINS = MARGINS*;

inline constexpr int MAX_INTLIST_COUNT = 402;
struct INTLIST {
    int iValueCount;
    int iValues[MAX_INTLIST_COUNT];
};

enum THEMESIZE {
    TS_MIN = 0,  // the smallest size the part can be drawn in
    TS_TRUE = 1, // its natural size
    TS_DRAW = 2, // the size it takes when drawn in the given rectangle
};

// ---- Application properties (SetThemeAppProperties) ----
inline constexpr DWORD STAP_ALLOW_NONCLIENT = 0x1;
inline constexpr DWORD STAP_ALLOW_CONTROLS = 0x2;
inline constexpr DWORD STAP_ALLOW_WEBCONTENT = 0x4;

// ---- Dialog texture (EnableThemeDialogTexture) ----
inline constexpr DWORD ETDT_DISABLE = 0x1;
inline constexpr DWORD ETDT_ENABLE = 0x2;
inline constexpr DWORD ETDT_USETABTEXTURE = 0x4;
inline constexpr DWORD ETDT_ENABLETAB = ETDT_ENABLE | ETDT_USETABTEXTURE;

// ---- DrawThemeText flags (the second set) ----
inline constexpr DWORD DTT_GRAYED = 0x1;

// ---- HitTestThemeBackground options ----
inline constexpr DWORD HTTB_BACKGROUNDSEG = 0x0000;
inline constexpr DWORD HTTB_FIXEDBORDER = 0x0002;
inline constexpr DWORD HTTB_CAPTION = 0x0004;
inline constexpr DWORD HTTB_RESIZINGBORDER_LEFT = 0x0010;
inline constexpr DWORD HTTB_RESIZINGBORDER_TOP = 0x0020;
inline constexpr DWORD HTTB_RESIZINGBORDER_RIGHT = 0x0040;
inline constexpr DWORD HTTB_RESIZINGBORDER_BOTTOM = 0x0080;
inline constexpr DWORD HTTB_RESIZINGBORDER = 0x00F0;

// ---- GetThemeDocumentationProperty names ----
inline constexpr const WCHAR* SZ_THDOCPROP_DISPLAYNAME = u"DisplayName";
inline constexpr const WCHAR* SZ_THDOCPROP_CANONICALNAME = u"ThemeName";
inline constexpr const WCHAR* SZ_THDOCPROP_TOOLTIP = u"ToolTip";
inline constexpr const WCHAR* SZ_THDOCPROP_AUTHOR = u"author";

// ---- Property ids ----
inline constexpr int TMT_CAPTIONFONT = 801;
inline constexpr int TMT_SMALLCAPTIONFONT = 802;
inline constexpr int TMT_MENUFONT = 803;
inline constexpr int TMT_STATUSFONT = 804;
inline constexpr int TMT_MSGBOXFONT = 805;
inline constexpr int TMT_ICONTITLEFONT = 806;
inline constexpr int TMT_FLATMENUS = 1001;
inline constexpr int TMT_SIZINGBORDERWIDTH = 1201;
inline constexpr int TMT_SCROLLBARWIDTH = 1202;
inline constexpr int TMT_SCROLLBARHEIGHT = 1203;
inline constexpr int TMT_CAPTIONBARWIDTH = 1204;
inline constexpr int TMT_CAPTIONBARHEIGHT = 1205;
inline constexpr int TMT_SMCAPTIONBARWIDTH = 1206;
inline constexpr int TMT_SMCAPTIONBARHEIGHT = 1207;
inline constexpr int TMT_MENUBARWIDTH = 1208;
inline constexpr int TMT_MENUBARHEIGHT = 1209;
inline constexpr int TMT_PADDEDBORDERWIDTH = 1210;
inline constexpr int TMT_MINCOLORDEPTH = 1301;
inline constexpr int TMT_CSSNAME = 1401;
inline constexpr int TMT_XMLNAME = 1402;
inline constexpr int TMT_BORDERSIZE = 2403;
inline constexpr int TMT_ROUNDCORNERWIDTH = 2404;
inline constexpr int TMT_ROUNDCORNERHEIGHT = 2405;
inline constexpr int TMT_PROGRESSCHUNKSIZE = 2411;
inline constexpr int TMT_PROGRESSSPACESIZE = 2412;
inline constexpr int TMT_WIDTH = 2416;
inline constexpr int TMT_HEIGHT = 2417;
inline constexpr int TMT_SIZINGMARGINS = 3601;
inline constexpr int TMT_CONTENTMARGINS = 3602;
inline constexpr int TMT_CAPTIONMARGINS = 3603;
inline constexpr int TMT_BORDERCOLOR = 3801;
inline constexpr int TMT_FILLCOLOR = 3802;
inline constexpr int TMT_TEXTCOLOR = 3803;
inline constexpr int TMT_EDGELIGHTCOLOR = 3804;
inline constexpr int TMT_EDGEHIGHLIGHTCOLOR = 3805;
inline constexpr int TMT_EDGESHADOWCOLOR = 3806;
inline constexpr int TMT_EDGEDKSHADOWCOLOR = 3807;
inline constexpr int TMT_EDGEFILLCOLOR = 3808;
inline constexpr int TMT_GRADIENTCOLOR1 = 3810;
inline constexpr int TMT_GRADIENTCOLOR2 = 3811;
inline constexpr int TMT_GLYPHTEXTCOLOR = 3819;
inline constexpr int TMT_FILLCOLORHINT = 3821;
inline constexpr int TMT_BORDERCOLORHINT = 3822;
inline constexpr int TMT_ACCENTCOLORHINT = 3823;
inline constexpr int TMT_BGTYPE = 4001;
inline constexpr int TMT_SIZINGTYPE = 4004;

// Values of TMT_BGTYPE and TMT_SIZINGTYPE.
inline constexpr int BT_IMAGEFILE = 0;
inline constexpr int BT_BORDERFILL = 1;
inline constexpr int BT_NONE = 2;
inline constexpr int ST_TRUESIZE = 0;
inline constexpr int ST_STRETCH = 1;
inline constexpr int ST_TILE = 2;

// ---- "button" ----
inline constexpr int BP_PUSHBUTTON = 1;
inline constexpr int BP_RADIOBUTTON = 2;
inline constexpr int BP_CHECKBOX = 3;
inline constexpr int BP_GROUPBOX = 4;
inline constexpr int BP_USERBUTTON = 5;
inline constexpr int BP_COMMANDLINK = 6;
inline constexpr int BP_COMMANDLINKGLYPH = 7;
inline constexpr int PBS_NORMAL = 1;
inline constexpr int PBS_HOT = 2;
inline constexpr int PBS_PRESSED = 3;
inline constexpr int PBS_DISABLED = 4;
inline constexpr int PBS_DEFAULTED = 5;
inline constexpr int PBS_DEFAULTED_ANIMATING = 6;
inline constexpr int RBS_UNCHECKEDNORMAL = 1;
inline constexpr int RBS_UNCHECKEDHOT = 2;
inline constexpr int RBS_UNCHECKEDPRESSED = 3;
inline constexpr int RBS_UNCHECKEDDISABLED = 4;
inline constexpr int RBS_CHECKEDNORMAL = 5;
inline constexpr int RBS_CHECKEDHOT = 6;
inline constexpr int RBS_CHECKEDPRESSED = 7;
inline constexpr int RBS_CHECKEDDISABLED = 8;
inline constexpr int CBS_UNCHECKEDNORMAL = 1;
inline constexpr int CBS_UNCHECKEDHOT = 2;
inline constexpr int CBS_UNCHECKEDPRESSED = 3;
inline constexpr int CBS_UNCHECKEDDISABLED = 4;
inline constexpr int CBS_CHECKEDNORMAL = 5;
inline constexpr int CBS_CHECKEDHOT = 6;
inline constexpr int CBS_CHECKEDPRESSED = 7;
inline constexpr int CBS_CHECKEDDISABLED = 8;
inline constexpr int CBS_MIXEDNORMAL = 9;
inline constexpr int CBS_MIXEDHOT = 10;
inline constexpr int CBS_MIXEDPRESSED = 11;
inline constexpr int CBS_MIXEDDISABLED = 12;
inline constexpr int CBS_IMPLICITNORMAL = 13;
inline constexpr int CBS_IMPLICITHOT = 14;
inline constexpr int CBS_IMPLICITPRESSED = 15;
inline constexpr int CBS_IMPLICITDISABLED = 16;
inline constexpr int CBS_EXCLUDEDNORMAL = 17;
inline constexpr int CBS_EXCLUDEDHOT = 18;
inline constexpr int CBS_EXCLUDEDPRESSED = 19;
inline constexpr int CBS_EXCLUDEDDISABLED = 20;
inline constexpr int GBS_NORMAL = 1;
inline constexpr int GBS_DISABLED = 2;

// ---- "combobox" ----
inline constexpr int CP_DROPDOWNBUTTON = 1;
inline constexpr int CP_BACKGROUND = 2;
inline constexpr int CP_TRANSPARENTBACKGROUND = 3;
inline constexpr int CP_BORDER = 4;
inline constexpr int CP_READONLY = 5;
inline constexpr int CP_DROPDOWNBUTTONRIGHT = 6;
inline constexpr int CP_DROPDOWNBUTTONLEFT = 7;
inline constexpr int CP_CUEBANNER = 8;
inline constexpr int CBXS_NORMAL = 1;
inline constexpr int CBXS_HOT = 2;
inline constexpr int CBXS_PRESSED = 3;
inline constexpr int CBXS_DISABLED = 4;
inline constexpr int CBB_NORMAL = 1;
inline constexpr int CBB_HOT = 2;
inline constexpr int CBB_FOCUSED = 3;
inline constexpr int CBB_DISABLED = 4;

// ---- "edit" ----
inline constexpr int EP_EDITTEXT = 1;
inline constexpr int EP_CARET = 2;
inline constexpr int EP_BACKGROUND = 3;
inline constexpr int EP_PASSWORD = 4;
inline constexpr int EP_BACKGROUNDWITHBORDER = 5;
inline constexpr int EP_EDITBORDER_NOSCROLL = 6;
inline constexpr int ETS_NORMAL = 1;
inline constexpr int ETS_HOT = 2;
inline constexpr int ETS_SELECTED = 3;
inline constexpr int ETS_DISABLED = 4;
inline constexpr int ETS_FOCUSED = 5;
inline constexpr int ETS_READONLY = 6;
inline constexpr int ETS_ASSIST = 7;
inline constexpr int ETS_CUEBANNER = 8;

// ---- "header" ----
inline constexpr int HP_HEADERITEM = 1;
inline constexpr int HP_HEADERITEMLEFT = 2;
inline constexpr int HP_HEADERITEMRIGHT = 3;
inline constexpr int HP_HEADERSORTARROW = 4;
inline constexpr int HP_HEADERDROPDOWN = 5;
inline constexpr int HP_HEADEROVERFLOW = 7;
inline constexpr int HIS_NORMAL = 1;
inline constexpr int HIS_HOT = 2;
inline constexpr int HIS_PRESSED = 3;
inline constexpr int HIS_SORTEDNORMAL = 4;
inline constexpr int HIS_SORTEDHOT = 5;
inline constexpr int HIS_SORTEDPRESSED = 6;
inline constexpr int HSAS_SORTEDUP = 1;
inline constexpr int HSAS_SORTEDDOWN = 2;

// ---- "scrollbar" ----
inline constexpr int SBP_ARROWBTN = 1;
inline constexpr int SBP_THUMBBTNHORZ = 2;
inline constexpr int SBP_THUMBBTNVERT = 3;
inline constexpr int SBP_LOWERTRACKHORZ = 4;
inline constexpr int SBP_UPPERTRACKHORZ = 5;
inline constexpr int SBP_LOWERTRACKVERT = 6;
inline constexpr int SBP_UPPERTRACKVERT = 7;
inline constexpr int SBP_GRIPPERHORZ = 8;
inline constexpr int SBP_GRIPPERVERT = 9;
inline constexpr int SBP_SIZEBOX = 10;
inline constexpr int ABS_UPNORMAL = 1;
inline constexpr int ABS_UPHOT = 2;
inline constexpr int ABS_UPPRESSED = 3;
inline constexpr int ABS_UPDISABLED = 4;
inline constexpr int ABS_DOWNNORMAL = 5;
inline constexpr int ABS_DOWNHOT = 6;
inline constexpr int ABS_DOWNPRESSED = 7;
inline constexpr int ABS_DOWNDISABLED = 8;
inline constexpr int ABS_LEFTNORMAL = 9;
inline constexpr int ABS_LEFTHOT = 10;
inline constexpr int ABS_LEFTPRESSED = 11;
inline constexpr int ABS_LEFTDISABLED = 12;
inline constexpr int ABS_RIGHTNORMAL = 13;
inline constexpr int ABS_RIGHTHOT = 14;
inline constexpr int ABS_RIGHTPRESSED = 15;
inline constexpr int ABS_RIGHTDISABLED = 16;
inline constexpr int ABS_UPHOVER = 17;
inline constexpr int ABS_DOWNHOVER = 18;
inline constexpr int ABS_LEFTHOVER = 19;
inline constexpr int ABS_RIGHTHOVER = 20;
inline constexpr int SCRBS_NORMAL = 1;
inline constexpr int SCRBS_HOT = 2;
inline constexpr int SCRBS_PRESSED = 3;
inline constexpr int SCRBS_DISABLED = 4;
inline constexpr int SCRBS_HOVER = 5;
inline constexpr int SZB_RIGHTALIGN = 1;
inline constexpr int SZB_LEFTALIGN = 2;

// ---- "spin" ----
inline constexpr int SPNP_UP = 1;
inline constexpr int SPNP_DOWN = 2;
inline constexpr int SPNP_UPHORZ = 3;
inline constexpr int SPNP_DOWNHORZ = 4;
inline constexpr int UPS_NORMAL = 1;
inline constexpr int UPS_HOT = 2;
inline constexpr int UPS_PRESSED = 3;
inline constexpr int UPS_DISABLED = 4;
inline constexpr int DNS_NORMAL = 1;
inline constexpr int DNS_HOT = 2;
inline constexpr int DNS_PRESSED = 3;
inline constexpr int DNS_DISABLED = 4;
inline constexpr int UPHZS_NORMAL = 1;
inline constexpr int UPHZS_HOT = 2;
inline constexpr int UPHZS_PRESSED = 3;
inline constexpr int UPHZS_DISABLED = 4;
inline constexpr int DNHZS_NORMAL = 1;
inline constexpr int DNHZS_HOT = 2;
inline constexpr int DNHZS_PRESSED = 3;
inline constexpr int DNHZS_DISABLED = 4;

// ---- "progress" ----
inline constexpr int PP_BAR = 1;
inline constexpr int PP_BARVERT = 2;
inline constexpr int PP_CHUNK = 3;
inline constexpr int PP_CHUNKVERT = 4;
inline constexpr int PP_FILL = 5;
inline constexpr int PP_FILLVERT = 6;
inline constexpr int PP_TRANSPARENTBAR = 11;
inline constexpr int PP_TRANSPARENTBARVERT = 12;
inline constexpr int PBBS_NORMAL = 1;
inline constexpr int PBBS_PARTIAL = 2;
inline constexpr int PBFS_NORMAL = 1;
inline constexpr int PBFS_ERROR = 2;
inline constexpr int PBFS_PAUSED = 3;
inline constexpr int PBFS_PARTIAL = 4;

// ---- "toolbar" ----
inline constexpr int TP_BUTTON = 1;
inline constexpr int TP_DROPDOWNBUTTON = 2;
inline constexpr int TP_SPLITBUTTON = 3;
inline constexpr int TP_SPLITBUTTONDROPDOWN = 4;
inline constexpr int TP_SEPARATOR = 5;
inline constexpr int TP_SEPARATORVERT = 6;
inline constexpr int TS_NORMAL = 1;
inline constexpr int TS_HOT = 2;
inline constexpr int TS_PRESSED = 3;
inline constexpr int TS_DISABLED = 4;
inline constexpr int TS_CHECKED = 5;
inline constexpr int TS_HOTCHECKED = 6;

// ---- "tab" ----
inline constexpr int TABP_TABITEM = 1;
inline constexpr int TABP_TABITEMLEFTEDGE = 2;
inline constexpr int TABP_TABITEMRIGHTEDGE = 3;
inline constexpr int TABP_TABITEMBOTHEDGE = 4;
inline constexpr int TABP_TOPTABITEM = 5;
inline constexpr int TABP_TOPTABITEMLEFTEDGE = 6;
inline constexpr int TABP_TOPTABITEMRIGHTEDGE = 7;
inline constexpr int TABP_TOPTABITEMBOTHEDGE = 8;
inline constexpr int TABP_PANE = 9;
inline constexpr int TABP_BODY = 10;
inline constexpr int TIS_NORMAL = 1;
inline constexpr int TIS_HOT = 2;
inline constexpr int TIS_SELECTED = 3;
inline constexpr int TIS_DISABLED = 4;
inline constexpr int TIS_FOCUSED = 5;

// ---- "window" ----
inline constexpr int WP_CAPTION = 1;
inline constexpr int WP_SMALLCAPTION = 2;
inline constexpr int WP_MINCAPTION = 3;
inline constexpr int WP_SMALLMINCAPTION = 4;
inline constexpr int WP_MAXCAPTION = 5;
inline constexpr int WP_SMALLMAXCAPTION = 6;
inline constexpr int WP_FRAMELEFT = 7;
inline constexpr int WP_FRAMERIGHT = 8;
inline constexpr int WP_FRAMEBOTTOM = 9;
inline constexpr int WP_SMALLFRAMELEFT = 10;
inline constexpr int WP_SMALLFRAMERIGHT = 11;
inline constexpr int WP_SMALLFRAMEBOTTOM = 12;
inline constexpr int WP_SYSBUTTON = 13;
inline constexpr int WP_MDISYSBUTTON = 14;
inline constexpr int WP_MINBUTTON = 15;
inline constexpr int WP_MDIMINBUTTON = 16;
inline constexpr int WP_MAXBUTTON = 17;
inline constexpr int WP_CLOSEBUTTON = 18;
inline constexpr int WP_SMALLCLOSEBUTTON = 19;
inline constexpr int WP_MDICLOSEBUTTON = 20;
inline constexpr int WP_RESTOREBUTTON = 21;
inline constexpr int WP_MDIRESTOREBUTTON = 22;
inline constexpr int WP_HELPBUTTON = 23;
inline constexpr int WP_MDIHELPBUTTON = 24;
inline constexpr int WP_HORZSCROLL = 25;
inline constexpr int WP_HORZTHUMB = 26;
inline constexpr int WP_VERTSCROLL = 27;
inline constexpr int WP_VERTTHUMB = 28;
inline constexpr int WP_DIALOG = 29;
inline constexpr int CS_ACTIVE = 1;
inline constexpr int CS_INACTIVE = 2;
inline constexpr int CS_DISABLED = 3;
inline constexpr int FS_ACTIVE = 1;
inline constexpr int FS_INACTIVE = 2;
inline constexpr int MINBS_NORMAL = 1;
inline constexpr int MINBS_HOT = 2;
inline constexpr int MINBS_PUSHED = 3;
inline constexpr int MINBS_DISABLED = 4;
inline constexpr int MAXBS_NORMAL = 1;
inline constexpr int MAXBS_HOT = 2;
inline constexpr int MAXBS_PUSHED = 3;
inline constexpr int MAXBS_DISABLED = 4;
inline constexpr int CBS_NORMAL = 1;
inline constexpr int CBS_HOT = 2;
inline constexpr int CBS_PUSHED = 3;
inline constexpr int CBS_DISABLED = 4;
inline constexpr int RBS_NORMAL = 1;
inline constexpr int RBS_HOT = 2;
inline constexpr int RBS_PUSHED = 3;
inline constexpr int RBS_DISABLED = 4;
inline constexpr int HBS_NORMAL = 1;
inline constexpr int HBS_HOT = 2;
inline constexpr int HBS_PUSHED = 3;
inline constexpr int HBS_DISABLED = 4;

// ---- "explorerbar" ----
inline constexpr int EBP_HEADERBACKGROUND = 1;
inline constexpr int EBP_HEADERCLOSE = 2;
inline constexpr int EBP_HEADERPIN = 3;
inline constexpr int EBP_IEBARMENU = 4;
inline constexpr int EBP_NORMALGROUPBACKGROUND = 5;
inline constexpr int EBP_NORMALGROUPCOLLAPSE = 6;
inline constexpr int EBP_NORMALGROUPEXPAND = 7;
inline constexpr int EBP_NORMALGROUPHEAD = 8;
inline constexpr int EBP_SPECIALGROUPBACKGROUND = 9;
inline constexpr int EBP_SPECIALGROUPCOLLAPSE = 10;
inline constexpr int EBP_SPECIALGROUPEXPAND = 11;
inline constexpr int EBP_SPECIALGROUPHEAD = 12;
inline constexpr int EBNGC_NORMAL = 1;
inline constexpr int EBNGC_HOT = 2;
inline constexpr int EBNGC_PRESSED = 3;
inline constexpr int EBNGE_NORMAL = 1;
inline constexpr int EBNGE_HOT = 2;
inline constexpr int EBNGE_PRESSED = 3;

// ---- "rebar" ----
inline constexpr int RP_GRIPPER = 1;
inline constexpr int RP_GRIPPERVERT = 2;
inline constexpr int RP_BAND = 3;
inline constexpr int RP_CHEVRON = 4;
inline constexpr int RP_CHEVRONVERT = 5;
inline constexpr int RP_BACKGROUND = 6;
inline constexpr int RP_SPLITTER = 7;
inline constexpr int RP_SPLITTERVERT = 8;
inline constexpr int CHEVS_NORMAL = 1;
inline constexpr int CHEVS_HOT = 2;
inline constexpr int CHEVS_PRESSED = 3;

// ---- "listview" ----
inline constexpr int LVP_LISTITEM = 1;
inline constexpr int LVP_LISTGROUP = 2;
inline constexpr int LVP_LISTDETAIL = 3;
inline constexpr int LVP_LISTSORTEDDETAIL = 4;
inline constexpr int LVP_EMPTYTEXT = 5;
inline constexpr int LVP_GROUPHEADER = 6;
inline constexpr int LVP_GROUPHEADERLINE = 7;
inline constexpr int LVP_EXPANDBUTTON = 8;
inline constexpr int LVP_COLLAPSEBUTTON = 9;
inline constexpr int LVP_COLUMNDETAIL = 10;
inline constexpr int LISS_NORMAL = 1;
inline constexpr int LISS_HOT = 2;
inline constexpr int LISS_SELECTED = 3;
inline constexpr int LISS_DISABLED = 4;
inline constexpr int LISS_SELECTEDNOTFOCUS = 5;
inline constexpr int LISS_HOTSELECTED = 6;

// ---- "treeview" ----
inline constexpr int TVP_TREEITEM = 1;
inline constexpr int TVP_GLYPH = 2;
inline constexpr int TVP_BRANCH = 3;
inline constexpr int TVP_HOTGLYPH = 4;
inline constexpr int TREIS_NORMAL = 1;
inline constexpr int TREIS_HOT = 2;
inline constexpr int TREIS_SELECTED = 3;
inline constexpr int TREIS_DISABLED = 4;
inline constexpr int TREIS_SELECTEDNOTFOCUS = 5;
inline constexpr int TREIS_HOTSELECTED = 6;
inline constexpr int GLPS_CLOSED = 1;
inline constexpr int GLPS_OPENED = 2;
inline constexpr int HGLPS_CLOSED = 1;
inline constexpr int HGLPS_OPENED = 2;

// ---- "tooltip" ----
inline constexpr int TTP_STANDARD = 1;
inline constexpr int TTP_STANDARDTITLE = 2;
inline constexpr int TTP_BALLOON = 3;
inline constexpr int TTP_BALLOONTITLE = 4;
inline constexpr int TTP_CLOSE = 5;
inline constexpr int TTSS_NORMAL = 1;
inline constexpr int TTSS_LINK = 2;
inline constexpr int TTCS_NORMAL = 1;
inline constexpr int TTCS_HOT = 2;
inline constexpr int TTCS_PRESSED = 3;

// ---- "trackbar" ----
inline constexpr int TKP_TRACK = 1;
inline constexpr int TKP_TRACKVERT = 2;
inline constexpr int TKP_THUMB = 3;
inline constexpr int TKP_THUMBBOTTOM = 4;
inline constexpr int TKP_THUMBTOP = 5;
inline constexpr int TKP_THUMBVERT = 6;
inline constexpr int TKP_THUMBLEFT = 7;
inline constexpr int TKP_THUMBRIGHT = 8;
inline constexpr int TKP_TICS = 9;
inline constexpr int TKP_TICSVERT = 10;
inline constexpr int TKS_NORMAL = 1;
inline constexpr int TRS_NORMAL = 1;
inline constexpr int TUS_NORMAL = 1;
inline constexpr int TUS_HOT = 2;
inline constexpr int TUS_PRESSED = 3;
inline constexpr int TUS_FOCUSED = 4;
inline constexpr int TUS_DISABLED = 5;

// ---- "status" ----
inline constexpr int SP_PANE = 1;
inline constexpr int SP_GRIPPERPANE = 2;
inline constexpr int SP_GRIPPER = 3;

// ---- Theme handles ----
// A handle for the first class of the semicolon-separated list that the theme knows ("Explorer::"
// prefixes are ignored, case does not matter); NULL with the last error E_PROP_ID_UNSUPPORTED when none
// is known, visual styles are off, the application does not allow themed controls, or the window's
// theme was switched off with SetWindowTheme(hwnd, u"", u""). hwnd may be NULL.
HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList);
HRESULT CloseThemeData(HTHEME theme);
// The theme most recently opened for the window and not yet closed; NULL when none.
HTHEME GetWindowTheme(HWND hwnd);
// subIdList replaces the class list that OpenThemeData is given for this window; an empty subAppName
// and subIdList switch the window's visual styles off. NULL for both restores the default. The window
// receives WM_THEMECHANGED.
HRESULT SetWindowTheme(HWND hwnd, LPCWSTR subAppName, LPCWSTR subIdList);

// ---- Drawing ----
// Draws the part in its state into rect, only inside clip when one is given. An unknown part gives
// E_INVALIDARG and draws nothing; a state the part does not have is drawn as its normal state.
HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip);
// Draws text in the part's text colour for the state with a transparent background, in the DC's font;
// textFlags are DrawText flags (DT_CALCRECT is refused), textFlags2 may hold DTT_GRAYED.
HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count, DWORD textFlags,
                      DWORD textFlags2, const RECT* rect);
// DrawEdge's edges and flags; content (optional) receives the rectangle inside the edges.
HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* rect, UINT edge, UINT flags,
                      RECT* content);
// Draws picture imageIndex of images at rect's top-left, transparently and without stretching, only
// inside rect. E_INVALIDARG (nothing drawn) without a DC or rect, for a handle that is not a live image
// list and for an index outside it.
HRESULT DrawThemeIcon(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HIMAGELIST images,
                      int imageIndex);
// Asks the window's parent to paint its background (WM_ERASEBKGND, then WM_PRINTCLIENT) into the DC,
// offset so that it lines up with the window, and clipped to rect (in the window's client coordinates)
// or to the window's client area. The DC's origin and clip are restored afterwards.
HRESULT DrawThemeParentBackground(HWND hwnd, HDC dc, const RECT* rect);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
BOOL IsThemePartDefined(HTHEME theme, int part, int state);

// ---- Geometry ----
HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect, THEMESIZE kind,
                         SIZE* size);
// The rectangle left for content inside the part's border and padding.
HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* bounding,
                                      RECT* content);
// The rectangle the part needs around the given content rectangle.
HRESULT GetThemeBackgroundExtent(HTHEME theme, HDC dc, int part, int state, const RECT* content,
                                 RECT* extent);
// A new region of the part's shape in rect; the caller deletes it.
HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HRGN* region);
// HTNOWHERE outside rect, HTCLIENT inside, or a border code (HTLEFT, HTTOPRIGHT ...) on a resizing
// border the options ask for.
HRESULT HitTestThemeBackground(HTHEME theme, HDC dc, int part, int state, DWORD options, const RECT* rect,
                               HRGN region, POINT point, WORD* hitTestCode);
// TMT_SIZINGMARGINS (the border), TMT_CONTENTMARGINS and TMT_CAPTIONMARGINS (border and padding).
HRESULT GetThemeMargins(HTHEME theme, HDC dc, int part, int state, int propId, const RECT* rect,
                        MARGINS* margins);
HRESULT GetThemeTextExtent(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count,
                           DWORD textFlags, const RECT* bounding, RECT* extent);
HRESULT GetThemeTextMetrics(HTHEME theme, HDC dc, int part, int state, TEXTMETRICW* metrics);

// ---- Properties ----
// Border, fill, gradient, text, glyph and edge colours of the part in its state.
HRESULT GetThemeColor(HTHEME theme, int part, int state, int propId, COLORREF* color);
// TMT_BORDERSIZE, TMT_WIDTH, TMT_HEIGHT, TMT_PROGRESSCHUNKSIZE, TMT_PROGRESSSPACESIZE.
HRESULT GetThemeMetric(HTHEME theme, HDC dc, int part, int state, int propId, int* value);
HRESULT GetThemeInt(HTHEME theme, int part, int state, int propId, int* value);
// TMT_BGTYPE and TMT_SIZINGTYPE.
HRESULT GetThemeEnumValue(HTHEME theme, int part, int state, int propId, int* value);
// The theme defines no properties of these kinds: they answer E_PROP_ID_UNSUPPORTED for a valid call.
HRESULT GetThemeString(HTHEME theme, int part, int state, int propId, LPWSTR buffer, int maxChars);
HRESULT GetThemeBool(HTHEME theme, int part, int state, int propId, BOOL* value);
HRESULT GetThemePosition(HTHEME theme, int part, int state, int propId, POINT* point);
HRESULT GetThemeFont(HTHEME theme, HDC dc, int part, int state, int propId, LOGFONTW* font);
HRESULT GetThemeRect(HTHEME theme, int part, int state, int propId, RECT* rect);
HRESULT GetThemeIntList(HTHEME theme, int part, int state, int propId, INTLIST* list);
HRESULT GetThemeFilename(HTHEME theme, int part, int state, int propId, LPWSTR buffer, int maxChars);

// ---- System values of the theme (theme may be NULL) ----
COLORREF GetThemeSysColor(HTHEME theme, int colorId);
HBRUSH GetThemeSysColorBrush(HTHEME theme, int colorId);
BOOL GetThemeSysBool(HTHEME theme, int boolId);
// An SM_* metric (or TMT_* size id); 0 for an id it does not know.
int GetThemeSysSize(HTHEME theme, int sizeId);
HRESULT GetThemeSysFont(HTHEME theme, int fontId, LOGFONTW* font);
HRESULT GetThemeSysString(HTHEME theme, int stringId, LPWSTR buffer, int maxChars);
HRESULT GetThemeSysInt(HTHEME theme, int intId, int* value);

// ---- The theme as a whole ----
BOOL IsThemeActive();
BOOL IsAppThemed();
// Turns visual styles off (FALSE) or on again for this process. Sends no messages.
HRESULT EnableTheming(BOOL enable);
DWORD GetThemeAppProperties();
void SetThemeAppProperties(DWORD flags);
HRESULT EnableThemeDialogTexture(HWND hwnd, DWORD flags);
BOOL IsThemeDialogTextureEnabled(HWND hwnd);
// The theme's file, colour-scheme and size names, cut to the buffers' sizes; E_PROP_ID_UNSUPPORTED (and
// empty buffers) while visual styles are off.
HRESULT GetCurrentThemeName(LPWSTR fileName, int maxFileChars, LPWSTR colorName, int maxColorChars,
                            LPWSTR sizeName, int maxSizeChars);
HRESULT GetThemeDocumentationProperty(LPCWSTR themeName, LPCWSTR propertyName, LPWSTR value, int maxChars);

namespace win32 {

// One export of the visual-styles library, as GetProcAddress hands it out.
struct ThemeLibraryEntry {
    const char* name;
    FARPROC function;
};
// Every export of the library by name, for the library table of LoadLibrary and GetProcAddress.
std::span<const ThemeLibraryEntry> ThemeLibraryEntries();

} // namespace win32
