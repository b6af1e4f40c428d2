#pragma once

#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;

// The look every auxiliary window shares: a fixed client size with a fixed
// border and only the close box, centred over its parent when shown, the
// 8-point dialog font, pixel positions that do not follow the screen's
// resolution, and key preview: the window sees each key release before its
// controls, and releasing Escape closes it with the cancel result.
class AuxiliaryDialog : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AuxiliaryDialog)

public:
    ~AuxiliaryDialog() override;

    // The light yellow of document views and input fields.
    static QColor lightYellow();
    static void paintLightYellow(QWidget *widget);

    // A sans-serif face at 8 points; sizes come from the face really used.
    static QFont dialogFont();

protected:
    AuxiliaryDialog(const QString &caption, int clientWidth, int clientHeight, QWidget *parent);

    // Called from showEvent after centring, before the window appears.
    virtual void FormShow();
    // Sees every key release of the window and its controls first; returns
    // true when it has dealt with the key so the control does not see it.
    virtual bool FormKeyUp(QKeyEvent *event);

    // Building blocks in client coordinates.
    QLabel *addLabel(const QString &objectName, const QString &text, const QRect &designRect,
                     bool autoSize);
    QLabel *addProgramIcon(const QString &objectName, const QPoint &topLeft);
    QFrame *addBevel(const QString &objectName, const QRect &rect);
    QPushButton *addButton(const QString &objectName, const QString &caption, const QRect &rect);
    // The separator line and the default button "Zamknij" that cancels.
    QPushButton *addCloseButton(const QString &bevelName, const QRect &bevelRect,
                                const QString &buttonName, const QRect &buttonRect);

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void centreOverParent();
    void watchKeysOfControls();
};
