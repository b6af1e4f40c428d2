#include "documenttext.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

using namespace Qt::StringLiterals;

namespace {

QString blockText(const QTextBlock &block)
{
    QString text = block.text();
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void plainItems(QTextFrame::iterator it, QString &out)
{
    for (; !it.atEnd(); ++it) {
        QTextFrame *frame = it.currentFrame();
        if (!frame) {
            out += blockText(it.currentBlock()) + u'\n';
            continue;
        }
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table) {
            plainItems(frame->begin(), out);
            continue;
        }
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < table->columns(); ++c) {
                QString cell;
                plainItems(table->cellAt(r, c).begin(), cell);
                if (cell.endsWith(u'\n'))
                    cell.chop(1);
                out += cell + u'|';
            }
            out += u'\n';
        }
    }
}

// Formats as they take effect: no family or size means the document's.
QString describe(const QTextCharFormat &f, const QFont &defaultFont)
{
    QStringList parts;
    const QStringList families = f.fontFamilies().toStringList();
    parts << (families.isEmpty() ? defaultFont.family() : families.join(u','))
          << QString::number(f.fontPointSize() > 0 ? f.fontPointSize() : defaultFont.pointSizeF());
    if (f.fontWeight() >= QFont::DemiBold)
        parts << u"b"_s;
    if (f.fontItalic())
        parts << u"i"_s;
    if (f.fontUnderline())
        parts << u"u"_s;
    if (f.fontStrikeOut())
        parts << u"s"_s;
    if (f.verticalAlignment() != QTextCharFormat::AlignNormal)
        parts << u"v%1"_s.arg(int(f.verticalAlignment()));
    if (f.foreground().style() != Qt::NoBrush)
        parts << u"fg"_s + f.foreground().color().name();
    if (f.background().style() != Qt::NoBrush)
        parts << u"bg"_s + f.background().color().name();
    if (f.isAnchor())
        parts << u"a="_s + f.anchorHref();
    if (f.isImageFormat())
        parts << u"img%1x%2"_s.arg(f.toImageFormat().width()).arg(f.toImageFormat().height());
    return parts.join(u' ');
}

QString describe(const QTextBlockFormat &f)
{
    QString tabs;
    for (const QTextOption::Tab &tab : f.tabPositions())
        tabs += u" tab%1/%2"_s.arg(tab.position).arg(int(tab.type));
    return u"al%1 l%2 r%3 fi%4 t%5 b%6 lh%7/%8 pb%9"_s.arg(int(f.alignment() & Qt::AlignHorizontal_Mask))
        .arg(f.leftMargin())
        .arg(f.rightMargin())
        .arg(f.textIndent())
        .arg(f.topMargin())
        .arg(f.bottomMargin())
        .arg(f.lineHeight())
        .arg(f.lineHeightType())
        .arg(int(f.pageBreakPolicy()))
        + tabs;
}

void dumpItems(QTextFrame::iterator it, QString &out, const QString &indent, const QFont &font)
{
    for (; !it.atEnd(); ++it) {
        QTextFrame *frame = it.currentFrame();
        if (!frame) {
            const QTextBlock block = it.currentBlock();
            out += indent + u"P["_s + describe(block.blockFormat()) + u"] mark{"_s
                + describe(block.charFormat(), font) + u"}\n"_s;
            // Adjacent runs with one format are one run, however stored.
            QString runText;
            QString runFormat;
            auto flush = [&]() {
                if (!runText.isEmpty())
                    out += indent + u"  {"_s + runFormat + u"} "_s + runText + u'\n';
                runText.clear();
            };
            for (auto f = block.begin(); !f.atEnd(); ++f) {
                const QString format = describe(f.fragment().charFormat(), font);
                if (format != runFormat)
                    flush();
                runFormat = format;
                runText += f.fragment().text();
            }
            flush();
            continue;
        }
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table) {
            dumpItems(frame->begin(), out, indent, font);
            continue;
        }
        const QTextTableFormat tf = table->format();
        QStringList widths;
        // A column without a constraint is a variable one.
        for (int c = 0; c < table->columns(); ++c) {
            const QTextLength l = tf.columnWidthConstraints().value(c);
            widths << u"%1:%2"_s.arg(int(l.type())).arg(l.rawValue());
        }
        out += indent + u"TABLE %1x%2 border%3 pad%4 al%5 w[%6]\n"_s.arg(table->rows())
                   .arg(table->columns())
                   .arg(tf.border())
                   .arg(tf.cellPadding())
                   .arg(int(tf.alignment() ? tf.alignment() : Qt::AlignLeft)) // none is left
                   .arg(widths.join(u' '));
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                const QBrush bg = cell.format().background();
                out += indent + u" CELL %1,%2%3\n"_s.arg(r).arg(c).arg(
                           bg.style() == Qt::NoBrush ? QString() : u" bg"_s + bg.color().name());
                dumpItems(cell.begin(), out, indent + u"   "_s, font);
            }
        }
    }
}

} // namespace

namespace DocumentText {

QString plain(const QTextDocument &doc)
{
    QString out;
    plainItems(doc.rootFrame()->begin(), out);
    return out;
}

QString normalised(const QString &text)
{
    QString t = text;
    t.replace(u'|', u' ');
    return t.simplified();
}

QString dump(const QTextDocument &doc)
{
    QString out;
    dumpItems(doc.rootFrame()->begin(), out, QString(), doc.defaultFont());
    return out;
}

QString htmlText(const QString &html)
{
    QString h = html;
    static const QRegularExpression lineBeforeTag(u"\\r?\\n[ \\t]*(?=<)"_s);
    static const QRegularExpression blockTag(
        u"</?(p|div|br|td|th|tr|li|ul|ol|table|tbody|thead|h[1-6]|body|html|head|title|meta|img|hr|pre|blockquote)\\b[^>]*>"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression styleOrScript(u"<(style|script)[^>]*>.*?</\\1>"_s,
                                                  QRegularExpression::CaseInsensitiveOption
                                                      | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression anyTag(u"<[^>]+>"_s);
    static const QRegularExpression entity(u"&(#x[0-9a-fA-F]+|#[0-9]+|[a-zA-Z]+);"_s);
    h.remove(styleOrScript);
    h.remove(lineBeforeTag);
    h.replace(blockTag, u" "_s);
    h.remove(anyTag);
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(h); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += h.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        char32_t code = 0;
        if (name.startsWith(u"#x"_s))
            code = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(u'#'))
            code = name.mid(1).toUInt();
        else if (name == u"amp"_s)
            code = '&';
        else if (name == u"lt"_s)
            code = '<';
        else if (name == u"gt"_s)
            code = '>';
        else if (name == u"quot"_s)
            code = '"';
        else if (name == u"apos"_s)
            code = '\'';
        else if (name == u"nbsp"_s)
            code = 0xA0;
        out += code ? QString::fromUcs4(&code, 1) : m.captured(0);
        last = m.capturedEnd();
    }
    out += h.mid(last);
    return out;
}

QString charFormatOf(const QTextDocument &doc, const QString &text)
{
    const QTextCursor found = doc.find(text, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return {};
    QTextCursor at(found);
    at.setPosition(found.selectionStart() + 1);
    return describe(at.charFormat(), doc.defaultFont());
}

QString blockFormatOf(const QTextDocument &doc, const QString &text)
{
    const QTextCursor found = doc.find(text, 0, QTextDocument::FindCaseSensitively);
    return found.isNull() ? QString() : describe(found.block().blockFormat());
}

QList<Link> links(const QTextDocument &doc)
{
    QList<Link> result;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString href;
        for (auto f = block.begin(); !f.atEnd(); ++f) {
            const QTextCharFormat format = f.fragment().charFormat();
            const QString target = format.isAnchor() ? format.anchorHref() : QString();
            if (!target.isEmpty() && target == href)
                result.last().text += f.fragment().text();
            else if (!target.isEmpty())
                result.append({target, f.fragment().text()});
            href = target;
        }
    }
    return result;
}

} // namespace DocumentText
