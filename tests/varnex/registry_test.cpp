#include <gtest/gtest.h>

#include <vector>

#include "core/memory.h"
#include "core/registry.h"
#include "core/window_table.h"
#include "hostkit.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::ClassOf;

namespace {

struct Probe : RegisteredRecord {
    int value;
    explicit Probe(HWND window) : value(7) { hwnd = window; }
};

TEST(Registry, LookupFindsOnlyItsOwnClassAndLiveWindows) {
    HWND frame = hostkit::CreateChildFrame(GetDesktopWindow(), 0, 0, 100, 100);
    ASSERT_TRUE(frame);
    Probe* probe = NewWindowObject<Probe>(frame);
    ASSERT_TRUE(probe);
    EXPECT_EQ(LiveWindowObjects(), 1);
    AttachWindowObject(probe, kBarProp);

    EXPECT_EQ(GetWindowObject(frame, kBarProp), probe);
    EXPECT_EQ(GetWindowObject(frame, kFrameProp), nullptr);
    EXPECT_EQ(GetWindowObject(nullptr, kBarProp), nullptr);
    // The property value is the block's handle, which other code on the window reads.
    EXPECT_EQ(GetPropA(frame, kBarProp), GlobalHandle(probe));

    DetachWindowObject(probe, kBarProp);
    DeleteWindowObject(probe);
    EXPECT_EQ(GetWindowObject(frame, kBarProp), nullptr);
    EXPECT_EQ(LiveWindowObjects(), 0);

    DestroyWindow(frame);
    EXPECT_EQ(GetWindowObject(frame, kBarProp), nullptr);  // stale handle
}

// A host may release an object from inside a message the library is still handling: the object
// is gone for every lookup at once, and its memory lasts until the last call holding it returns.
TEST(Registry, ReleasedObjectsOutliveTheirHolders) {
    HWND frame = hostkit::CreateChildFrame(GetDesktopWindow(), 0, 0, 100, 100);
    Probe* probe = NewWindowObject<Probe>(frame);
    ASSERT_TRUE(AttachWindowObject(probe, kBarProp));
    {
        Hold<Probe> outer(probe);
        {
            Hold<Probe> inner(probe);
            ASSERT_TRUE(BeginRelease(probe));
            EXPECT_FALSE(BeginRelease(probe));  // only the first release acts
            EXPECT_FALSE(inner.Alive());
            EXPECT_EQ(GetWindowObject(frame, kBarProp), nullptr);
            EXPECT_EQ(FindWindowRecord(frame, kBarProp), probe);  // its procedure still finds it
            EndRelease(probe, kBarProp);
            EXPECT_EQ(FindWindowRecord(frame, kBarProp), nullptr);
        }
        EXPECT_EQ(LiveWindowObjects(), 1);
        EXPECT_EQ(outer->value, 7);
    }
    EXPECT_EQ(LiveWindowObjects(), 0);
    DestroyWindow(frame);
}

TEST(Registry, FreshBlocksAreZeroFilled) {
    auto* bytes = static_cast<unsigned char*>(AllocWindowObject(256));
    ASSERT_TRUE(bytes);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(bytes[i], 0) << i;
    FreeWindowObject(bytes);
}

TEST(Registry, CreateFrameChildChoosesClassAndIdFromTheId) {
    HWND frame = hostkit::CreateChildFrame(GetDesktopWindow(), 0, 0, 200, 200);
    WindowRecord record{};

    ASSERT_TRUE(CreateFrameChild(&record, WS_CHILD, 0, frame, 0xE81D));
    ASSERT_TRUE(record.hwnd);
    EXPECT_EQ(ClassOf(record.hwnd), "AfxControlBar40su");
    EXPECT_EQ(GetDlgCtrlID(record.hwnd), 0xE81D);
    RECT placed = varnex_test::WindowRectIn(record.hwnd, frame);
    EXPECT_TRUE(placed == (RECT{0, 0, 0, 0}));  // placed later by the layout

    record.hwnd = nullptr;
    CreateFrameChild(&record, WS_CHILD, 0, frame, 0xE700);
    ASSERT_TRUE(record.hwnd);
    EXPECT_EQ(ClassOf(record.hwnd), "AfxFrameOrView40su");
    EXPECT_EQ(GetDlgCtrlID(record.hwnd), 0);  // a floating window has no id

    record.hwnd = nullptr;
    CreateFrameChild(&record, WS_CHILD, 0, frame, 0xE810);
    EXPECT_EQ(ClassOf(record.hwnd), "msctls_progress32");

    HWND before = record.hwnd;
    EXPECT_FALSE(CreateFrameChild(&record, WS_CHILD, 0, frame, 0xE901));
    EXPECT_EQ(record.hwnd, before);  // unknown id: nothing created, handle untouched
    EXPECT_EQ(LiveLibraryWindows(), 3);
    DestroyWindow(frame);
    EXPECT_EQ(LiveLibraryWindows(), 0);
}

}  // namespace

// Lookups answer from process memory: entries follow every attach and detach, through growth and
// many removals, and an empty table holds no memory.
TEST(Registry, ObjectTableFollowsAttachAndDetach) {
    WindowTable table;
    std::vector<RegisteredRecord> objects(600);
    auto handle = [](size_t i) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x10000 + 4 * i)); };
    for (size_t i = 0; i < objects.size(); ++i)
        ASSERT_TRUE(table.Insert(handle(i / 2), static_cast<int>(i % 2), &objects[i])) << i;
    for (size_t i = 0; i < objects.size(); i += 3) table.Remove(handle(i / 2), static_cast<int>(i % 2), &objects[i]);
    table.Remove(handle(1), 1, &objects[0]);  // names another object: stays
    for (size_t i = 0; i < objects.size(); ++i) {
        RegisteredRecord* expected = i % 3 == 0 ? nullptr : &objects[i];
        ASSERT_EQ(table.Find(handle(i / 2), static_cast<int>(i % 2)), expected) << i;
        ASSERT_EQ(table.Find(handle(i / 2), 2), nullptr) << i;
    }
    for (size_t i = 0; i < objects.size(); ++i) table.Remove(handle(i / 2), static_cast<int>(i % 2), &objects[i]);
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(LiveHeapBlocks(), 0);
}
