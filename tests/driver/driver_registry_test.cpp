#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "driver/driver_list_text.h"
#include "driver/driver_registry.h"
#include "driver/hpgl2_driver.h"
#include "pxrdriver/driver_list.h"
#include "support/scratch_config.h"

namespace {

class RecordingList : public HT_DriverList {
public:
    int GetCount() const override { return static_cast<int>(added.size()); }
    void AddDriver(HT_Driver* d) override { added.push_back(d); }
    void RemoveDriver(HT_Driver* d) override { removed.push_back(d); }
    ~RecordingList() override {
        for (HT_Driver* d : added) delete d;
    }
    std::vector<HT_Driver*> added;
    std::vector<HT_Driver*> removed;
};

TEST(DriverListText, NamesStartAtTheSecondString) {
    struct Case {
        std::string text;  // the whole buffer, NULs included
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {std::string("ini\0A\0B\0\0", 9), {"A", "B"}},
        {std::string("ini\0\0", 5), {}},            // only the framework's string
        {std::string("\0A\0B\0\0", 7), {}},         // empty first string: empty list
        {std::string("x\0\xff\0\0", 5), {"\xff"}},  // any nonzero first byte is a name
        {std::string("ini\0OCE\0OCE\0\0", 13), {"OCE", "OCE"}},
        {std::string("ini\0abc", 7), {"abc"}},  // unterminated: stops at the end
        {std::string(""), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListedDriverNames(c.text.data(), c.text.size()), c.names)
            << "buffer of " << c.text.size() << " bytes";
}

TEST(DriverRegistry, OtherRequestsSucceedAndNullArgumentsAreRefused) {
    for (int request : {0, 1, 4, -1, -2147483647 - 1, 1000})
        EXPECT_EQ(HandleDriverRequest(request, nullptr), 1) << request;
    EXPECT_EQ(HandleDriverRequest(IT_REQ_LOAD_DRIVERS, nullptr), 0);
    EXPECT_EQ(HandleDriverRequest(IT_REQ_UNLOAD_DRIVER, nullptr), 0);
}

TEST(DriverRegistry, OceSectionsGetTheirOwnClass) {
    ScratchConfig config;
    config.Write("hpgl2.ini",
                 "[OCE TDS600]\nName=One\n[Oce 9400]\nName=Two\n[My OCE]\nName=Three\n"
                 "[plain]\nName=Four\n[plain]\nName=Five\n");
    RecordingList list;
    ASSERT_EQ(HandleDriverRequest(IT_REQ_LOAD_DRIVERS, &list), 1);
    ASSERT_EQ(list.added.size(), 5u);
    EXPECT_EQ(typeid(*list.added[0]), typeid(COceDriver));
    EXPECT_EQ(typeid(*list.added[1]), typeid(HPGL2Driver));
    EXPECT_EQ(typeid(*list.added[2]), typeid(HPGL2Driver));
    EXPECT_EQ(typeid(*list.added[3]), typeid(HPGL2Driver));
    // Two sections of one name: two independent drivers, both reading the first.
    EXPECT_NE(list.added[3], list.added[4]);
    EXPECT_STREQ(list.added[3]->GetName(), "Four");
    EXPECT_STREQ(list.added[4]->GetName(), "Four");
}

TEST(DriverRegistry, MissingConfigurationCreatesNoDriver) {
    ScratchConfig config;  // no hpgl2.ini in it
    RecordingList list;
    EXPECT_EQ(HandleDriverRequest(IT_REQ_LOAD_DRIVERS, &list), 1);
    EXPECT_TRUE(list.added.empty());
}

TEST(DriverRegistry, UnloadDestroysThenRemovesTheSameAddress) {
    ScratchConfig config;
    RecordingList list;
    HT_Driver* driver = new HPGL2Driver(nullptr, config.Ini().c_str(), "X");
    HT_UnloadRequest request{&list, driver};
    EXPECT_EQ(HandleDriverRequest(IT_REQ_UNLOAD_DRIVER, &request), 1);
    ASSERT_EQ(list.removed.size(), 1u);
    EXPECT_EQ(list.removed[0], driver);

    HT_UnloadRequest none{&list, nullptr};
    EXPECT_EQ(HandleDriverRequest(IT_REQ_UNLOAD_DRIVER, &none), 1);
    ASSERT_EQ(list.removed.size(), 2u);
    EXPECT_EQ(list.removed[1], nullptr);
}

}  // namespace
