#pragma once

#include <QObject>

// The data checker on small data sets made for each finding: every row
// changes the clean data set of CheckDataSet and compares the whole report,
// line for line.
class TestCheck : public QObject
{
    Q_OBJECT

private slots:
    // Definitions (tst_check.cpp).
    void baseChecksClean();
    void sampleChecksClean();
    void definitionGlobal_data();
    void definitionGlobal();
    void topicBlocks_data();
    void topicBlocks();
    void topicRecords_data();
    void topicRecords();

    // Tables, cells and links (tst_checktables.cpp).
    void tableColumns_data();
    void tableColumns();
    void cellMarkup_data();
    void cellMarkup();
    void links_data();
    void links();

    // Documents, bytes, the readers' observers and the program
    // (tst_checkfiles.cpp).
    void documents_data();
    void documents();
    void textFiles_data();
    void textFiles();
    void lineReaderObserver_data();
    void lineReaderObserver();
    void topicFieldsAgreeWithGetTabField_data();
    void topicFieldsAgreeWithGetTabField();
    void jsonReport();
    void reportDoesNotDependOnThreads();
    void program_data();
    void program();

    // FIFOs, devices, endless and huge files, too little memory, an
    // execute-only directory, names leaving it (tst_checkhostile.cpp).
    void hostileFiles_data();
    void hostileFiles();
    void ownDirectoryByItsBytes_data();
    void ownDirectoryByItsBytes();
};
