// The same-file check over a file layer that is asked only when an output exists, and once.
#include "conversion/same_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Sources with fixed identities; a source without one cannot be identified (it is gone).
class FakeSources : public SourceIdentities {
public:
    explicit FakeSources(std::vector<std::vector<FileIdentity>> identities)
        : identities_(std::move(identities))
    {
    }
    size_t SourceCount() const override { return identities_.size(); }
    bool IdentifySource(size_t index, FileIdentity& identity) const override
    {
        ++asked;
        if (identities_[index].empty()) return false;
        identity = identities_[index][0];
        return true;
    }
    mutable int asked = 0;

private:
    std::vector<std::vector<FileIdentity>> identities_;
};

TEST(SameFileCheckTest, AFileIsASourceByIdentityAndTheSourcesAreAskedOnce)
{
    FakeSources sources({{{1, 10}}, {}, {{2, 10}}});
    SameFileCheck check(sources);
    EXPECT_EQ(0, sources.asked) << "a run that meets no existing output identifies nothing";
    EXPECT_TRUE(check.IsSource({1, 10}));
    EXPECT_TRUE(check.IsSource({2, 10}));
    // The same file number on another volume is another file; a source that cannot be
    // identified matches nothing.
    EXPECT_FALSE(check.IsSource({3, 10}));
    EXPECT_FALSE(check.IsSource({}));
    EXPECT_EQ(3, sources.asked);
}

}  // namespace
