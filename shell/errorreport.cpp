#include "shell/errorreport.h"

#include "core/wexalerror.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcError, "wexal.error")

namespace {

std::function<void(const QString &)> &presenter()
{
    static std::function<void(const QString &)> instance;
    return instance;
}

} // namespace

namespace ErrorReport {

void show(const QString &text)
{
    qCWarning(lcError).noquote() << text;
    if (presenter()) {
        presenter()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, u"Wexal ze stawkami vat"_s, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void setPresenter(std::function<void(const QString &)> newPresenter)
{
    presenter() = std::move(newPresenter);
}

bool guard(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const WexalError &error) {
        show(error.message());
    } catch (const std::bad_alloc &) {
        show(u"Za mało pamięci, aby wykonać tę operację."_s);
    } catch (const std::exception &error) {
        show(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace ErrorReport
