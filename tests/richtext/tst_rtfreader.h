#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The RTF reader, judged by the plain text it leaves in the document.
class RtfReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void isRtf_data();
    void isRtf();
    void text_data();
    void text();
    void codePages_data();
    void codePages();
    void unicode_data();
    void unicode();
    void destinations_data();
    void destinations();

    // Damaged, hostile and oversized input (tst_rtfdamaged.cpp).
    void damagedInput_data();
    void damagedInput();
    void deepNestingIsCapped();
    void hugeCountsStayInsideTheBuffer();
    void mutatedDocumentsNeverFail();

    void sampleDocuments_data();
    void sampleDocuments();
    void notRtfLeavesDocumentUnchanged();

private:
    static QString plainOf(const QByteArray &bytes);
    static QByteArray readFile(const QString &path);
};
