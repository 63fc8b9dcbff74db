// HashTable and ObjectList: chains, shadowed keys, removal, ownership and the list cursor.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>

#include "framework/containers/hash_table.h"
#include "framework/containers/object_list.h"

namespace {

void* Key(uintptr_t value)
{
    return reinterpret_cast<void*>(value);
}

int deletedCount = 0;

class Tracked : public Object {
public:
    explicit Tracked(int id) : id(id) {}
    ~Tracked() override { ++deletedCount; }
    int id;
};

int IdOf(Object* object)
{
    return object == nullptr ? -1 : static_cast<Tracked*>(object)->id;
}

}  // namespace

TEST(HashTable, SameKeyTwiceRemovedOnceLeavesTheOlderFindable)
{
    HashTable table(113);
    int older = 1;
    int newer = 2;
    ASSERT_TRUE(table.InsertPointer(Key(0x1234), &older));
    ASSERT_TRUE(table.InsertPointer(Key(0x1234), &newer));
    EXPECT_EQ(&newer, table.FindPointer(Key(0x1234)));
    EXPECT_TRUE(table.RemovePointer(Key(0x1234)));
    EXPECT_EQ(&older, table.FindPointer(Key(0x1234)));
    EXPECT_TRUE(table.RemovePointer(Key(0x1234)));
    EXPECT_EQ(nullptr, table.FindPointer(Key(0x1234)));
    EXPECT_FALSE(table.RemovePointer(Key(0x1234)));
}

TEST(HashTable, RemovingAMissingKeyChangesNothing)
{
    HashTable table(7);
    int value = 5;
    table.InsertPointer(Key(3), &value);
    EXPECT_FALSE(table.RemovePointer(Key(10)));  // same chain as 3, different key
    EXPECT_FALSE(table.RemoveText(L"three"));
    EXPECT_EQ(&value, table.FindPointer(Key(3)));
}

TEST(HashTable, KeysSharingAChainAreToldApart)
{
    HashTable table(113);
    int zero = 0;
    int n = 113;
    int twice = 226;
    EXPECT_EQ(table.PointerBucket(Key(0)), table.PointerBucket(Key(113)));
    table.InsertPointer(Key(0), &zero);
    table.InsertPointer(Key(113), &n);
    table.InsertPointer(Key(226), &twice);
    EXPECT_EQ(&zero, table.FindPointer(Key(0)));
    EXPECT_EQ(&n, table.FindPointer(Key(113)));
    EXPECT_EQ(&twice, table.FindPointer(Key(226)));
    // Unlinking from the middle of the chain keeps both neighbours reachable.
    EXPECT_TRUE(table.RemovePointer(Key(113)));
    EXPECT_EQ(&zero, table.FindPointer(Key(0)));
    EXPECT_EQ(&twice, table.FindPointer(Key(226)));
    EXPECT_EQ(nullptr, table.FindPointer(Key(113)));
}

TEST(HashTable, PointerHashUsesTheWholePointer)
{
    HashTable table(113);
    const uintptr_t low = 0x10040;
    if (sizeof(void*) < 8) {
        GTEST_SKIP() << "32-bit pointers";
    }
    const uintptr_t high = low + (uintptr_t{1} << 32);
    EXPECT_NE(table.PointerBucket(Key(low)), table.PointerBucket(Key(high)));
    EXPECT_EQ(static_cast<int32_t>(high % 113), table.PointerBucket(Key(high)));
    int a = 1;
    table.InsertPointer(Key(low), &a);
    EXPECT_EQ(nullptr, table.FindPointer(Key(high)));
}

TEST(HashTable, TextKeysAreCopiedAndComparedExactly)
{
    HashTable table(113);
    wchar_t key[] = L"Button";
    int value = 9;
    HashEntry* entry = table.InsertText(key, &value);
    ASSERT_NE(nullptr, entry);
    EXPECT_NE(key, entry->keyText);
    key[0] = L'X';  // the caller's buffer changes; the table kept its copy
    EXPECT_EQ(&value, table.FindText(L"Button"));
    EXPECT_EQ(nullptr, table.FindText(L"button"));
    EXPECT_EQ(nullptr, table.FindText(L"Butto"));
    // (L'a' % 113 + L'b' % 113) % 113 = (97 + 98) % 113
    EXPECT_EQ(82, table.TextBucket(L"ab"));
    EXPECT_EQ(table.TextBucket(L"ab"), table.TextBucket(L"ba"));
}

TEST(HashTable, MissingTextKeyIsTheEmptyTextInBucketZero)
{
    HashTable table(113);
    int value = 1;
    HashEntry* entry = table.InsertText(nullptr, &value);
    ASSERT_NE(nullptr, entry);
    EXPECT_STREQ(L"", entry->keyText);
    EXPECT_EQ(0, table.TextBucket(nullptr));
    EXPECT_EQ(&value, table.FindText(L""));
    EXPECT_TRUE(table.RemoveText(nullptr));
    EXPECT_EQ(nullptr, table.FindText(L""));
}

TEST(HashTable, PointerAndTextEntriesDoNotMatchEachOther)
{
    HashTable table(113);
    int pointerValue = 1;
    int textValue = 2;
    table.InsertText(L"", &textValue);
    table.InsertPointer(nullptr, &pointerValue);
    EXPECT_EQ(&pointerValue, table.FindPointer(nullptr));
    EXPECT_EQ(&textValue, table.FindText(L""));
    EXPECT_TRUE(table.RemovePointer(nullptr));
    EXPECT_EQ(&textValue, table.FindText(L""));
}

TEST(HashTable, DestroyingLeavesTheValuesAlone)
{
    deletedCount = 0;
    Tracked* value = new Tracked(1);
    {
        HashTable table(5);
        for (uintptr_t k = 0; k < 20; ++k) {
            table.InsertPointer(Key(k), value);
        }
        table.InsertText(L"value", value);
    }
    EXPECT_EQ(0, deletedCount);
    EXPECT_EQ(1, value->id);
    delete value;
}

TEST(HashTable, TableWithoutBucketsStoresNothing)
{
    HashTable table(0);
    int value = 1;
    EXPECT_FALSE(table.IsValid());
    EXPECT_FALSE(table.InsertPointer(Key(1), &value));
    EXPECT_EQ(nullptr, table.InsertText(L"a", &value));
    EXPECT_EQ(nullptr, table.FindPointer(Key(1)));
    EXPECT_FALSE(table.RemovePointer(Key(1)));
}

TEST(ObjectList, WalkingVisitsElementsInOrderAndStopsAtTheEnd)
{
    ObjectList list;
    list.Append(new Tracked(1));
    list.Append(new Tracked(2));
    list.Prepend(new Tracked(0));
    EXPECT_EQ(3, list.Count());
    EXPECT_EQ(0, IdOf(list.First()));
    EXPECT_EQ(1, IdOf(list.Next()));
    EXPECT_EQ(2, IdOf(list.Next()));
    EXPECT_EQ(nullptr, list.Next());
    EXPECT_EQ(2, IdOf(list.Current()));  // the cursor stays on the last node
    EXPECT_EQ(nullptr, list.Next());
}

TEST(ObjectList, AtBeyondTheEndClearsTheCursor)
{
    ObjectList list;
    list.Append(new Tracked(10));
    list.Append(new Tracked(11));
    EXPECT_EQ(11, IdOf(list.At(1)));
    EXPECT_EQ(nullptr, list.At(2));
    EXPECT_EQ(nullptr, list.Current());
    EXPECT_EQ(nullptr, list.Next());
    EXPECT_EQ(nullptr, list.At(-1));
}

TEST(ObjectList, PrependIntoAnEmptyListMakesHeadAndTail)
{
    ObjectList list;
    list.Prepend(new Tracked(5));
    list.Append(new Tracked(6));  // goes after the prepended node, so the tail was set
    EXPECT_EQ(5, IdOf(list.At(0)));
    EXPECT_EQ(6, IdOf(list.At(1)));
}

TEST(ObjectList, RemovingTheOnlyElementEmptiesTheList)
{
    deletedCount = 0;
    ObjectList list;
    Tracked* only = new Tracked(1);
    list.Append(only);
    EXPECT_EQ(1, list.Remove(only));
    EXPECT_EQ(1, deletedCount);
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(nullptr, list.First());
    EXPECT_EQ(nullptr, list.Current());
    list.Append(new Tracked(2));  // a stale tail would lose this node
    EXPECT_EQ(2, IdOf(list.First()));
    EXPECT_EQ(1, list.Count());
}

TEST(ObjectList, RemovingTheTailOrTheCursorMovesThemToThePredecessor)
{
    ObjectList list;
    Tracked* a = new Tracked(1);
    Tracked* b = new Tracked(2);
    Tracked* c = new Tracked(3);
    list.Append(a);
    list.Append(b);
    list.Append(c);
    EXPECT_EQ(1, list.Remove(c));
    EXPECT_EQ(2, IdOf(list.Current()));
    list.Append(new Tracked(4));
    EXPECT_EQ(4, IdOf(list.At(2)));
    list.At(1);  // cursor on 4's predecessor b
    EXPECT_EQ(1, list.Remove(b));
    EXPECT_EQ(1, IdOf(list.Current()));
    EXPECT_EQ(4, IdOf(list.Next()));
    list.First();
    EXPECT_EQ(1, list.Remove(a));
    EXPECT_EQ(nullptr, list.Current());  // the first node has no predecessor
    EXPECT_EQ(1, list.Count());
}

TEST(ObjectList, RemovingAForeignElementChangesNothing)
{
    deletedCount = 0;
    ObjectList list;
    list.Append(new Tracked(1));
    Tracked stranger(2);
    EXPECT_EQ(0, list.Remove(&stranger));
    EXPECT_EQ(1, list.Count());
    EXPECT_EQ(0, deletedCount);
}

TEST(ObjectList, ClearAndDestructionDeleteEveryElementAndTheName)
{
    deletedCount = 0;
    {
        ObjectList list(L"Files");
        EXPECT_STREQ(L"Files", list.Name());
        for (int i = 0; i < 4; ++i) {
            list.Append(new Tracked(i));
        }
        list.Clear();
        EXPECT_EQ(4, deletedCount);
        EXPECT_EQ(nullptr, list.Name());
        EXPECT_EQ(0, list.Count());
        EXPECT_EQ(nullptr, list.First());
        list.Append(new Tracked(9));
    }
    EXPECT_EQ(5, deletedCount);
}

TEST(ObjectList, TheNameIsACopy)
{
    wchar_t name[] = L"Popup";
    ObjectList list(name);
    name[0] = L'X';
    EXPECT_STREQ(L"Popup", list.Name());
    ObjectList unnamed(nullptr);
    EXPECT_EQ(nullptr, unnamed.Name());
}
