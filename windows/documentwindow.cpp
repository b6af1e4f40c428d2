#include "windows/documentwindow.h"

#include "core/datafile.h"
#include "shell/errorreport.h"
#include "richtext/richtextview.h"

#include <QFileInfo>
#include <QPushButton>

using namespace Qt::StringLiterals;

DocumentWindow::DocumentWindow(const QString &controlPrefix, const QString &caption,
                               const QString &documentPath, QWidget *parent)
    : AuxiliaryDialog(caption, 592, 446, parent),
      m_controlPrefix(controlPrefix),
      m_documentPath(documentPath)
{
    m_richEdit = new RichTextView(this);
    m_richEdit->setObjectName(controlPrefix + u"RichEdit"_s);
    m_richEdit->setGeometry(8, 8, 577, 393);
    m_richEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_richEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_richEdit->setPlainText(designTimeText());

    m_exitButton = addCloseButton(controlPrefix + u"Bevel"_s, QRect(8, 404, 577, 2),
                                  controlPrefix + u"ExitButton"_s, QRect(510, 412, 75, 25));
    setTabOrder(m_richEdit, m_exitButton);
}

DocumentWindow::~DocumentWindow() = default;

QString DocumentWindow::designTimeText()
{
    return u"Tu bedzie tekst pomocy ..."_s;
}

void DocumentWindow::showDocument()
{
    paintLightYellow(m_richEdit);
    // A missing document, or a special file in its place (a FIFO, a device),
    // leaves the text the window was built with; a directory is reported as
    // a document that cannot be read.
    if (!DataFile::isPresent(m_documentPath) && !QFileInfo(m_documentPath).isDir())
        return;
    // The window relies on this returning: an unreadable document is
    // reported here rather than ending the opening of the window.
    ErrorReport::guard([this] { m_richEdit->loadFile(m_documentPath, DataFile::Kind::Document); });
}
