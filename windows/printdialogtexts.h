#pragma once

#include <QTranslator>

// Polish for the texts of the print, page set-up and print preview dialogs
// that Qt's own Polish catalogue leaves in English: some it lacks, and the
// page sizes it gives back unchanged. Installed after Qt's catalogue, so
// that it is asked first; it answers nothing else. Names of paper formats
// (Letter, Legal, Executive, A4 ...) stay as they are.
class PrintDialogTexts final : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }
};
