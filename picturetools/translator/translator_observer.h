#pragma once
// How a batch run of the pictures translator talks to its user: the working window's lines and
// bars, and the questions before an existing file is overwritten.
#include "picturetools/translator/batch_convert.h"
#include "shell/working_display.h"

class CTranslatorObserver : public CBatchObserver {
public:
    explicit CTranslatorObserver(IWorkingDisplay& display) : m_display(display) {}

    bool BeginItem(size_t index, size_t count, const std::string& source) override;
    // Yes is followed by the question for every later file; No skips this one only.
    OverwriteAnswer AskOverwrite(const std::string& destination) override;
    bool BeginSave(const std::string& destination) override;
    CQnProgress* FileProgress() override { return &m_display.FileProgress(); }

private:
    IWorkingDisplay& m_display;
};
