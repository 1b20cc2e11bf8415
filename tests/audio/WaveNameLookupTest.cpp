#include "audio/wavefile/WaveCollection.h"
#include "core/GameError.h"

#include <gtest/gtest.h>

#include <string>

namespace {
TWaveCollectionItem& AddNamed(TWaveCollection& collection, const std::string& name) {
    TWaveCollectionItem& item = collection.Add();
    item.SetName(name);
    return item;
}
} // namespace

// The game's eight kick names all share one bucket (only length, first and second-to-last
// characters count), so finding each one guards the walk along a bucket's chain.
TEST(WaveNameLookup, FindsEveryNameOfASharedBucketAndNamesAMissingOne) {
    TWaveCollection collection;
    for (int i = 0; i < 8; ++i) {
        AddNamed(collection, "kik" + std::to_string(i));
    }
    ASSERT_EQ(WaveNameBucket("kik0"), WaveNameBucket("KIK7"));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(collection.FindByName("Kik" + std::to_string(i)).Index(), i);
    }
    try {
        collection.FindByName("kik8");
        ADD_FAILURE() << "found a missing wave";
    } catch (const EGameError& error) {
        EXPECT_STREQ(error.what(), "Wave 'kik8' not found");
    }
}

// Guards the chain bookkeeping when a name changes: the old name stops matching, the new
// one finds the renamed item ahead of an older namesake, and renaming that namesake again
// puts it back in front.
TEST(WaveNameLookup, RenamedItemMovesToTheHeadOfItsNewBucket) {
    TWaveCollection collection;
    TWaveCollectionItem& first = AddNamed(collection, "life");
    TWaveCollectionItem& second = AddNamed(collection, "speed");
    AddNamed(collection, "lime");

    first.SetName("Speed");
    EXPECT_EQ(&collection.FindByName("speed"), &first);
    EXPECT_THROW(collection.FindByName("life"), EGameError);
    EXPECT_EQ(collection.FindByName("lime").Index(), 2);

    second.SetName("SPEED");
    EXPECT_EQ(&collection.FindByName("speed"), &second);
    second.SetName("fall");
    EXPECT_EQ(&collection.FindByName("speed"), &first);
}

// Guards against bucket heads left pointing at freed items after the collection empties.
TEST(WaveNameLookup, EmptiedCollectionForgetsEveryName) {
    TWaveCollection collection;
    AddNamed(collection, "fall");
    collection.Clear();
    EXPECT_EQ(collection.Count(), 0);
    EXPECT_THROW(collection.FindByName("fall"), EGameError);
    TWaveCollectionItem& again = AddNamed(collection, "fall");
    EXPECT_EQ(again.Index(), 0);
    EXPECT_EQ(&collection.FindByName("FALL"), &again);
}
