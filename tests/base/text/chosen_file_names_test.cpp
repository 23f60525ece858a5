#include "base/text/chosen_file_names.h"

#include <gtest/gtest.h>

namespace base {
namespace {

TEST(ChosenFileNames, OnlyTheFileNamesExtensionIsReplaced) {
    struct Case {
        const char* chosen;
        const char* expected;
    };
    const Case cases[] = {
        {"/clips/out.mpg", "/clips/out.avi"},
        {"/clips/out", "/clips/out.avi"},
        {"/my.clips/out", "/my.clips/out.avi"},
        {"/clips/.hidden", "/clips/.hidden.avi"},
        {"/clips/.hidden.mpg", "/clips/.hidden.avi"},
        {"out.tar.gz", "out.tar.avi"},
        {"out", "out.avi"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(withFileExtension(QString::fromUtf8(c.chosen), QStringLiteral(".avi")),
                  QString::fromUtf8(c.expected))
            << c.chosen;
    }
}

TEST(ChosenFileNames, StartFolderIsTheFolderOfTheCurrentName) {
    EXPECT_EQ(saveDialogStartFolder(QStringLiteral("/home/ana/v.avi")),
              QStringLiteral("/home/ana"));
    EXPECT_EQ(saveDialogStartFolder(QStringLiteral("/v.avi")), QStringLiteral("/"));
    EXPECT_EQ(saveDialogStartFolder(QStringLiteral("v.avi")), QStringLiteral("."));
    EXPECT_EQ(saveDialogInitialName(QStringLiteral("/home/ana/v.avi")), QStringLiteral("v.avi"));
    EXPECT_EQ(saveDialogInitialName(QStringLiteral("v.avi")), QStringLiteral("v.avi"));
}

TEST(ChosenFileNames, OnlyAWildcardInTheFileNameMakesAPattern) {
    for (const char* pattern : {"/clips/*.avi", "*.*", "/clips/take?.wav"}) {
        EXPECT_TRUE(fileNameHasWildcard(QString::fromUtf8(pattern))) << pattern;
    }
    for (const char* name : {"/clips/out.avi", "/what*/out.avi", "", "/clips/"}) {
        EXPECT_FALSE(fileNameHasWildcard(QString::fromUtf8(name))) << name;
    }
}

}  // namespace
}  // namespace base
