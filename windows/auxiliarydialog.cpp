#include "windows/auxiliarydialog.h"

#include "shell/commandicons.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

using namespace Qt::StringLiterals;

AuxiliaryDialog::AuxiliaryDialog(const QString &caption, int clientWidth, int clientHeight,
                                 QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(caption);
    setWindowIcon(CommandIcons::programIcon());
    setFont(dialogFont());
    setFixedSize(clientWidth, clientHeight);
    setSizeGripEnabled(false);
    installEventFilter(this);
}

AuxiliaryDialog::~AuxiliaryDialog() = default;

QColor AuxiliaryDialog::lightYellow()
{
    return QColor(255, 255, 215);
}

void AuxiliaryDialog::paintLightYellow(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, lightYellow());
    widget->setPalette(palette);
}

QFont AuxiliaryDialog::dialogFont()
{
    QFont font(u"Sans Serif"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

void AuxiliaryDialog::FormShow() { }

bool AuxiliaryDialog::FormKeyUp(QKeyEvent *event)
{
    // Modifiers do not matter: Shift+Escape closes as well.
    if (event->key() != Qt::Key_Escape)
        return false;
    reject();
    return true;
}

QLabel *AuxiliaryDialog::addLabel(const QString &objectName, const QString &text,
                                  const QRect &designRect, bool autoSize)
{
    auto *label = new QLabel(this);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setGeometry(designRect);
    if (autoSize) {
        // A one-line caption takes the size its text needs in the face in use.
        label->resize(label->sizeHint().width(), designRect.height());
    }
    return label;
}

QLabel *AuxiliaryDialog::addProgramIcon(const QString &objectName, const QPoint &topLeft)
{
    auto *icon = new QLabel(this);
    icon->setObjectName(objectName);
    icon->setGeometry(QRect(topLeft, QSize(33, 33)));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setPixmap(CommandIcons::programIcon().pixmap(32, 32));
    // Looks clickable but does nothing, as it always has.
    icon->setCursor(Qt::PointingHandCursor);
    return icon;
}

QFrame *AuxiliaryDialog::addBevel(const QString &objectName, const QRect &rect)
{
    auto *bevel = new QFrame(this);
    bevel->setObjectName(objectName);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setLineWidth(1);
    bevel->setMidLineWidth(0);
    bevel->setGeometry(rect);
    return bevel;
}

QPushButton *AuxiliaryDialog::addButton(const QString &objectName, const QString &caption,
                                        const QRect &rect)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setGeometry(rect);
    return button;
}

QPushButton *AuxiliaryDialog::addCloseButton(const QString &bevelName, const QRect &bevelRect,
                                             const QString &buttonName, const QRect &buttonRect)
{
    addBevel(bevelName, bevelRect);
    QPushButton *button = addButton(buttonName, u"Zamknij"_s, buttonRect);
    button->setDefault(true);
    connect(button, &QPushButton::clicked, this, &QDialog::reject);
    return button;
}

void AuxiliaryDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        centreOverParent();
        watchKeysOfControls();
        FormShow();
    }
}

void AuxiliaryDialog::centreOverParent()
{
    // Frames against frames: move() places the frame, not the client area.
    QRect over;
    if (QWidget *owner = parentWidget())
        over = owner->window()->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    if (over.isEmpty())
        return;
    // Before the first show the frame is not known to the widget; the
    // platform window already knows its margins.
    const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize frame = size().grownBy(margins);
    move(over.x() + (over.width() - frame.width()) / 2,
         over.y() + (over.height() - frame.height()) / 2);
}

void AuxiliaryDialog::watchKeysOfControls()
{
    // Installing twice is harmless: Qt keeps one entry per filter.
    const auto controls = findChildren<QWidget *>();
    for (QWidget *control : controls)
        control->installEventFilter(this);
}

bool AuxiliaryDialog::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QDialog::eventFilter(watched, event);
    // Drop-down lists are windows of their own and keep their keys.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this)
        return QDialog::eventFilter(watched, event);

    auto *keyEvent = static_cast<QKeyEvent *>(event);
    if (type == QEvent::KeyPress) {
        // The window closes when Escape is released, not when it goes down.
        return keyEvent->key() == Qt::Key_Escape;
    }
    if (FormKeyUp(keyEvent))
        return true;
    return QDialog::eventFilter(watched, event);
}
