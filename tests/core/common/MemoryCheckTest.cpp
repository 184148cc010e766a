// The memory check of the fuzz targets must see what the program keeps, in
// the sanitizer build (the sanitizer's allocator) as in the plain one.
#include "../../../fuzz/FuzzSupport.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

using namespace camini::fuzz;

TEST(FuzzMemoryCheck, AKeptAllocationFailsTheCheck) {
    struct Case {
        std::size_t bytes;
        bool caught;
    };
    // The allowance of a 100-byte input: 4 bytes a byte and 64 KiB.
    constexpr std::size_t allowance = 4 * 100 + 64 * 1024;
    for (Case c :
         {Case{10u << 20, true}, Case{1u << 20, true}, Case{200u << 10, true}, Case{1024, false}}) {
        const std::size_t before = heapInUse();
        auto* block = static_cast<char*>(std::malloc(c.bytes));
        ASSERT_NE(block, nullptr);
        std::memset(block, 1, c.bytes);
        EXPECT_EQ(heapGrewBeyond(before, allowance), c.caught) << c.bytes << " bytes";
        std::free(block);
        EXPECT_FALSE(heapGrewBeyond(before, allowance)) << c.bytes << " bytes, freed";
    }
    selfCheckMemoryCheck(); // ends the process when the check cannot fail
}
