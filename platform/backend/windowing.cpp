// Top-level windows on a real desktop through Qt: each shows a window manager surface in a QRasterWindow,
// and its keyboard, mouse, focus and frame events go back to the window manager's input sink. The
// message loop waits inside Qt's event loop.
#include "platform/backend/windowing.h"

#include <QAbstractEventDispatcher>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRasterWindow>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <cstring>

#include "platform/backend/raster_p.h"

namespace backend {

namespace {

InputSink* gSink = nullptr;

// Virtual-key codes for the keys Qt names; 0 for keys that only type text.
struct KeyCode {
    int vk = 0;
    int scan = 0; // 0: the window manager derives it from the key
    bool extended = false;
};

KeyCode KeyCodeOf(const QKeyEvent* event) {
    int key = event->key();
    bool keypad = event->modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return KeyCode{key - Qt::Key_A + 'A'};
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return KeyCode{keypad ? 0x60 + key - Qt::Key_0 : key - Qt::Key_0 + '0'};
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return KeyCode{0x70 + key - Qt::Key_F1};
    // The keypad's cursor keys (Num Lock off) are the cursor keys without the extended bit.
    auto cursorKey = [&](int vk, int keypadScan) {
        return keypad ? KeyCode{vk, keypadScan, false} : KeyCode{vk};
    };
    switch (key) {
    case Qt::Key_Backspace:
        return KeyCode{0x08};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return KeyCode{0x09};
    case Qt::Key_Clear:
        return KeyCode{0x0C};
    case Qt::Key_Return:
        return KeyCode{0x0D};
    case Qt::Key_Enter:
        return KeyCode{0x0D, 0x1C, true};
    case Qt::Key_Shift:
        return KeyCode{0x10};
    case Qt::Key_Control:
        return KeyCode{0x11};
    case Qt::Key_Alt:
        return KeyCode{0x12};
    case Qt::Key_AltGr:
        return KeyCode{0x12, 0x38, true};
    case Qt::Key_Pause:
        return KeyCode{0x13};
    case Qt::Key_CapsLock:
        return KeyCode{0x14};
    case Qt::Key_Escape:
        return KeyCode{0x1B};
    case Qt::Key_Space:
        return KeyCode{0x20};
    case Qt::Key_PageUp:
        return cursorKey(0x21, 0x49);
    case Qt::Key_PageDown:
        return cursorKey(0x22, 0x51);
    case Qt::Key_End:
        return cursorKey(0x23, 0x4F);
    case Qt::Key_Home:
        return cursorKey(0x24, 0x47);
    case Qt::Key_Left:
        return cursorKey(0x25, 0x4B);
    case Qt::Key_Up:
        return cursorKey(0x26, 0x48);
    case Qt::Key_Right:
        return cursorKey(0x27, 0x4D);
    case Qt::Key_Down:
        return cursorKey(0x28, 0x50);
    case Qt::Key_Print:
        return KeyCode{0x2C};
    case Qt::Key_Insert:
        return cursorKey(0x2D, 0x52);
    case Qt::Key_Delete:
        return keypad ? KeyCode{0x2E, 0x53, false} : KeyCode{0x2E};
    case Qt::Key_Meta:
        return KeyCode{0x5B};
    case Qt::Key_Menu:
        return KeyCode{0x5D};
    case Qt::Key_NumLock:
        return KeyCode{0x90};
    case Qt::Key_ScrollLock:
        return KeyCode{0x91};
    case Qt::Key_Asterisk:
        return keypad ? KeyCode{0x6A} : KeyCode{'8'};
    case Qt::Key_Plus:
        return keypad ? KeyCode{0x6B} : KeyCode{0xBB};
    case Qt::Key_Minus:
        return keypad ? KeyCode{0x6D} : KeyCode{0xBD};
    case Qt::Key_Period:
        return keypad ? KeyCode{0x6E} : KeyCode{0xBE};
    case Qt::Key_Slash:
        return keypad ? KeyCode{0x6F, 0x35, true} : KeyCode{0xBF};
    case Qt::Key_Comma:
        return KeyCode{0xBC};
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return KeyCode{0xBA};
    case Qt::Key_Equal:
        return KeyCode{0xBB};
    case Qt::Key_Underscore:
        return KeyCode{0xBD};
    case Qt::Key_Question:
        return KeyCode{0xBF};
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return KeyCode{0xC0};
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return KeyCode{0xDB};
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return KeyCode{0xDC};
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return KeyCode{0xDD};
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return KeyCode{0xDE};
    default:
        return KeyCode{};
    }
}

Qt::CursorShape ShapeOf(int shape) {
    switch (shape) {
    case 32513:
        return Qt::IBeamCursor;
    case 32514:
        return Qt::WaitCursor;
    case 32515:
        return Qt::CrossCursor;
    case 32516:
        return Qt::UpArrowCursor;
    case 32642:
        return Qt::SizeFDiagCursor;
    case 32643:
        return Qt::SizeBDiagCursor;
    case 32644:
        return Qt::SizeHorCursor;
    case 32645:
        return Qt::SizeVerCursor;
    case 32646:
        return Qt::SizeAllCursor;
    case 32648:
        return Qt::ForbiddenCursor;
    case 32649:
        return Qt::PointingHandCursor;
    case 32650:
        return Qt::BusyCursor;
    case 32651:
        return Qt::WhatsThisCursor;
    case 0:
        return Qt::BlankCursor;
    default:
        return Qt::ArrowCursor;
    }
}

MouseButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    case Qt::BackButton:
        return MouseButton::X1;
    case Qt::ForwardButton:
        return MouseButton::X2;
    default:
        return MouseButton::Left;
    }
}

class HostView;
std::vector<HostView*> gHosts;

// The Qt window that shows a surface and passes its events on.
class HostView : public QRasterWindow {
public:
    explicit HostView(const HostWindowOptions& options) : FOptions(options) {
        Qt::WindowFlags flags = Qt::Window;
        if (!options.framed)
            flags |= Qt::FramelessWindowHint;
        if (options.toolWindow || !options.framed)
            flags |= Qt::Tool;
        if (options.topmost)
            flags |= Qt::WindowStaysOnTopHint;
        if (options.noActivate)
            flags |= Qt::WindowDoesNotAcceptFocus;
        setFlags(flags);
        setTitle(QString::fromStdU16String(options.title));
        // The common dialogs find their owner's desktop window by this name.
        setProperty("zelmorWindow", QVariant::fromValue<quintptr>(options.window));
        gHosts.push_back(this);
    }
    ~HostView() override { std::erase(gHosts, this); }

    std::uintptr_t Id() const { return FOptions.window; }

    void SetGeometry(int x, int y, int width, int height) {
        FSettingGeometry = true;
        setGeometry(x, y, std::max(width, 1), std::max(height, 1));
        FSettingGeometry = false;
        if (FImage.width() != std::max(width, 1) || FImage.height() != std::max(height, 1)) {
            FImage = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
            FImage.fill(Qt::white);
        }
    }
    void SetVisible(bool visible, bool activate) {
        if (visible == isVisible())
            return;
        setFlag(Qt::WindowDoesNotAcceptFocus, FOptions.noActivate || !activate);
        setVisible(visible);
    }
    void SetState(bool minimized, bool maximized) {
        Qt::WindowStates state = Qt::WindowNoState;
        if (minimized)
            state = Qt::WindowMinimized;
        else if (maximized)
            state = Qt::WindowMaximized;
        if (windowStates() != state)
            setWindowStates(state);
    }
    void SetTitle(const std::u16string& title) { setTitle(QString::fromStdU16String(title)); }
    void SetOpacity(double opacity) { setOpacity(opacity); }
    void SetMask(const Region* mask) { setMask(mask ? ToQRegion(*mask) : QRegion()); }
    void Update(const PixelBuffer& surface, int partX, int partY, const Region& dirty) {
        for (const Rect& r : dirty.Rects()) {
            for (int y = std::max(r.top, 0); y < std::min(r.bottom, FImage.height()); ++y) {
                int sy = y + partY;
                if (sy < 0 || sy >= surface.height)
                    continue;
                auto* target = reinterpret_cast<std::uint32_t*>(FImage.scanLine(y));
                const std::uint32_t* source = surface.Row(sy);
                for (int x = std::max(r.left, 0); x < std::min(r.right, FImage.width()); ++x) {
                    int sx = x + partX;
                    if (sx >= 0 && sx < surface.width)
                        target[x] = 0xFF000000u | source[sx];
                }
            }
        }
        update(ToQRegion(dirty));
    }
    void Raise() { raise(); }
    void Activate() {
        if (isVisible() && !FOptions.noActivate)
            requestActivate();
    }
    void SetCursorShape(int shape) { setCursor(QCursor(ShapeOf(shape))); }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        for (const QRect& r : event->region())
            painter.drawImage(r.topLeft(), FImage, r);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (gSink)
            gSink->MouseMove(Global(event).x(), Global(event).y());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (gSink)
            gSink->MouseButton(ButtonOf(event->button()), true, Global(event).x(), Global(event).y());
    }
    // The window manager tells double clicks apart by itself: Qt's second press is a press.
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (gSink)
            gSink->MouseButton(ButtonOf(event->button()), false, Global(event).x(), Global(event).y());
    }
    void wheelEvent(QWheelEvent* event) override {
        if (!gSink)
            return;
        QPoint p = event->globalPosition().toPoint();
        if (event->angleDelta().y())
            gSink->MouseWheel(event->angleDelta().y(), false, p.x(), p.y());
        if (event->angleDelta().x())
            gSink->MouseWheel(-event->angleDelta().x(), true, p.x(), p.y());
    }
    void keyPressEvent(QKeyEvent* event) override { Key(event, true); }
    void keyReleaseEvent(QKeyEvent* event) override { Key(event, false); }
    void moveEvent(QMoveEvent*) override { GeometryChanged(); }
    void resizeEvent(QResizeEvent*) override { GeometryChanged(); }
    void closeEvent(QCloseEvent* event) override {
        // The program decides whether its window closes.
        event->ignore();
        if (gSink)
            gSink->HostCloseRequested(FOptions.window);
    }

private:
    static QPoint Global(QMouseEvent* event) { return event->globalPosition().toPoint(); }

    void Key(QKeyEvent* event, bool down) {
        // Held keys repeat as presses only, so that the repeat bit of the key messages comes out right.
        if (!gSink || (!down && event->isAutoRepeat()))
            return;
        KeyCode code = KeyCodeOf(event);
        QString text = event->text();
        if (code.vk) {
            gSink->Key(code.vk, code.scan, code.extended, down, 0);
        } else if (down && !text.isEmpty()) {
            for (QChar c : text)
                gSink->Key(0, 0, false, true, c.unicode());
        }
    }

    void GeometryChanged() {
        if (FSettingGeometry || !gSink || !isVisible())
            return;
        QRect g = geometry();
        gSink->HostGeometryChanged(FOptions.window, g.x(), g.y(), g.width(), g.height());
    }

    HostWindowOptions FOptions;
    QImage FImage{1, 1, QImage::Format_RGB32};
    bool FSettingGeometry = false;
};

// The window manager's handle on a Qt window. Qt may end the window first (when the application object
// goes away with windows still open); the handle then does nothing.
class Host : public HostWindow {
public:
    explicit Host(const HostWindowOptions& options) : FView(new HostView(options)) {}
    ~Host() override {
        if (FView && QCoreApplication::instance())
            delete FView.data();
    }
    void SetGeometry(int x, int y, int width, int height) override {
        if (FView)
            FView->SetGeometry(x, y, width, height);
    }
    void SetVisible(bool visible, bool activate) override {
        if (FView)
            FView->SetVisible(visible, activate);
    }
    void SetTitle(const std::u16string& title) override {
        if (FView)
            FView->SetTitle(title);
    }
    void SetState(bool minimized, bool maximized) override {
        if (FView)
            FView->SetState(minimized, maximized);
    }
    void SetOpacity(double opacity) override {
        if (FView)
            FView->SetOpacity(opacity);
    }
    void SetMask(const Region* mask) override {
        if (FView)
            FView->SetMask(mask);
    }
    void Update(const PixelBuffer& surface, int partX, int partY, const Region& dirty) override {
        if (FView)
            FView->Update(surface, partX, partY, dirty);
    }
    void Raise() override {
        if (FView)
            FView->Raise();
    }
    void Activate() override {
        if (FView)
            FView->Activate();
    }
    void SetCursorShape(int shape) override {
        if (FView)
            FView->SetCursorShape(shape);
    }

private:
    QPointer<HostView> FView;
};

void FollowFocus() {
    static bool connected = false;
    if (connected || !QGuiApplication::instance())
        return;
    connected = true;
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, [](QWindow* window) {
        if (!gSink)
            return;
        for (HostView* host : gHosts)
            if (host == window) {
                gSink->HostActivated(host->Id(), true);
                return;
            }
        if (!window)
            gSink->HostActivated(0, false);
    });
}

} // namespace

bool HostWindowsAvailable() {
    if (!QGuiApplication::instance())
        return false;
    QString name = QGuiApplication::platformName();
    return name != QLatin1String("offscreen") && name != QLatin1String("minimal");
}

std::unique_ptr<HostWindow> CreateHostWindow(const HostWindowOptions& options) {
    if (!HostWindowsAvailable() || !IsGuiThread())
        return nullptr;
    FollowFocus();
    return std::make_unique<Host>(options);
}

void SetInputSink(InputSink* sink) {
    gSink = sink;
}

bool IsGuiThread() {
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

void WaitForEvents(int timeoutMs) {
    if (!IsGuiThread())
        return;
    QTimer timer;
    if (timeoutMs >= 0) {
        timer.setSingleShot(true);
        timer.start(timeoutMs);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void WakeEventLoop() {
    if (!QCoreApplication::instance())
        return;
    if (QAbstractEventDispatcher* dispatcher =
            QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread()))
        dispatcher->wakeUp();
}

bool ScreenGeometry(int& width, int& height, int& workLeft, int& workTop, int& workRight, int& workBottom) {
    if (!HostWindowsAvailable())
        return false;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    QRect all = screen->geometry();
    QRect work = screen->availableGeometry();
    width = all.width();
    height = all.height();
    workLeft = work.left();
    workTop = work.top();
    workRight = work.left() + work.width();
    workBottom = work.top() + work.height();
    return true;
}

bool MovePointer(int x, int y) {
    if (!HostWindowsAvailable())
        return false;
    QCursor::setPos(x, y);
    return true;
}

// Qt's GUI module has no beep of its own; the bell is left to the desktop, which the program does not
// reach from here.
void Beep() {}

std::vector<std::uint32_t> GrabScreen(int x, int y, int width, int height) {
    std::vector<std::uint32_t> pixels;
    QScreen* screen = HostWindowsAvailable() ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return pixels;
    QImage image = screen->grabWindow(0, x, y, width, height).toImage().convertToFormat(QImage::Format_RGB32);
    if (image.width() != width || image.height() != height)
        return pixels;
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int row = 0; row < height; ++row) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(row));
        for (int column = 0; column < width; ++column)
            pixels[static_cast<size_t>(row) * width + column] = line[column] & 0xFFFFFF;
    }
    return pixels;
}

bool SendSyntheticClick(int x, int y) {
    if (!HostWindowsAvailable())
        return false;
    QPoint global(x, y);
    QWindow* window = QGuiApplication::topLevelAt(global);
    if (!window)
        return false;
    QPointF local = global - window->geometry().topLeft();
    QMouseEvent press(QEvent::MouseButtonPress, local, QPointF(global), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, QPointF(global), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(window, &release);
    return true;
}

} // namespace backend
