// The holders close what they hold exactly once: when they go, when they take something else,
// and never after they gave it up or handed it on.
#include "winfile/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != 0;
}

HANDLE NewEvent()
{
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

TEST(UniqueHandleTest, AHandleIsClosedOnceByWhicheverHolderHasItLast)
{
    const HANDLE first = NewEvent();
    const HANDLE second = NewEvent();
    ASSERT_TRUE(IsOpen(first) && IsOpen(second));
    {
        UniqueHandle held(first);
        UniqueHandle moved(std::move(held));
        EXPECT_FALSE(held.Valid());
        EXPECT_TRUE(IsOpen(first));
        UniqueHandle other(second);
        other = std::move(moved);
        EXPECT_FALSE(IsOpen(second)) << "the handle it held before was not closed";
        EXPECT_TRUE(IsOpen(first));
        EXPECT_EQ(first, other.Get());
    }
    EXPECT_FALSE(IsOpen(first));
}

TEST(UniqueHandleTest, AReleasedHandleStaysOpenAndResetClosesTheOldOne)
{
    const HANDLE event = NewEvent();
    HANDLE released = INVALID_HANDLE_VALUE;
    {
        UniqueHandle held(event);
        released = held.Release();
        EXPECT_FALSE(held);
    }
    EXPECT_EQ(event, released);
    EXPECT_TRUE(IsOpen(event));

    UniqueHandle held(event);
    const HANDLE next = NewEvent();
    EXPECT_TRUE(held.Reset(next));
    EXPECT_FALSE(IsOpen(event));
    EXPECT_TRUE(held.Reset());
    EXPECT_FALSE(IsOpen(next));
    EXPECT_FALSE(held.Valid());
}

TEST(UniqueHandleTest, AStreamIsFlushedAndClosedWhenItsHolderGoes)
{
    wchar_t folder[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring path = std::wstring(folder) + L"glimmer-unique-stream.bin";
    {
        UniqueStream stream(_wfopen(path.c_str(), L"wb"));
        ASSERT_TRUE(stream.Valid());
        EXPECT_EQ(5u, fwrite("bytes", 1, 5, stream.Get()));
    }
    // Closed: the file can be removed, and it holds what was written.
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(5u, data.nFileSizeLow) << "the stream was not flushed and closed";
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

}  // namespace
