#pragma once
// The keyword lists with their real encryption switch over a temporary program folder.
#include <gtest/gtest.h>

#include "matching/keyword_lists.h"
#include "storage/list_file_encryption.h"
#include "support/answering_question.h"
#include "support/program_data.h"
#include "support/recording_notifier.h"

namespace veltrano::test {

class KeywordFilesTest : public ::testing::Test, protected ProgramData {
protected:
    KeywordFilesTest() { lists.AttachEncryption(encryption); }

    std::wstring FileOf(KeywordKind kind, bool encrypted) const { return lists.KeywordFilePath(kind, encrypted); }

    RecordingNotifier notifier;
    AnsweringQuestion question{false};
    KeywordLists lists{settings, paths, notifier, log};
    ListFileEncryption encryption{lists.Family(), notifier, question};
};

}  // namespace veltrano::test
