#include "platform/rtti.h"

#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "platform/program_folder.h"

namespace {

class Base : public TObject {
public:
    static const TClassInfo kInfo;
    const TClassInfo* ClassInfo() const override { return &kInfo; }
    int id = 7;
};

class Derived : public Base {
public:
    static const TClassInfo kInfo;
    const TClassInfo* ClassInfo() const override { return &kInfo; }
    double level = 2.5;
};

const TClassInfo Base::kInfo{
    "Base",
    nullptr,
    {{"ID_", TTypeKind::tkInteger,
      [](const TObject& o) { return TPropValue{std::int64_t{static_cast<const Base&>(o).id}}; },
      false}}};

const TClassInfo Derived::kInfo{
    "Derived",
    &Base::kInfo,
    {{"Level", TTypeKind::tkFloat,
      [](const TObject& o) { return TPropValue{static_cast<const Derived&>(o).level}; }, true}}};

TEST(ClassInfo, BasePropertiesComeFirstAndLookUpFollowsTheChain)
{
    const auto all = Derived::kInfo.AllProperties();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0]->Name, "ID_");
    EXPECT_EQ(all[1]->Name, "Level");

    Derived object;
    const TPropInfo* id = object.ClassInfo()->FindProperty("ID_");
    ASSERT_NE(id, nullptr);
    EXPECT_FALSE(id->Writable);
    EXPECT_EQ(std::get<std::int64_t>(id->Get(object)), 7);
    EXPECT_EQ(Base::kInfo.FindProperty("Level"), nullptr);
    // The chain tells a class's ancestry, which the session's lists rely on.
    EXPECT_TRUE(Derived::kInfo.InheritsFrom(Base::kInfo));
    EXPECT_TRUE(Base::kInfo.InheritsFrom(Base::kInfo));
    EXPECT_FALSE(Base::kInfo.InheritsFrom(Derived::kInfo));
}

TEST(List, KeepsOrderAndMovesItems)
{
    Base a, b, c;
    TList list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    list.Move(0, 2);
    EXPECT_EQ(list[0], &b);
    EXPECT_EQ(list[2], &a);
    EXPECT_EQ(list.Remove(&c), 1);
    EXPECT_EQ(list.Remove(&c), -1);
    EXPECT_EQ(list.IndexOf(&a), 1);
    EXPECT_THROW(list.Delete(2), std::out_of_range);
    EXPECT_THROW(list.Insert(3, &c), std::out_of_range);
}

TEST(List, MovesForwardAndBackward)
{
    Base a, b, c, d;
    TList list;
    for (TObject* item : {&a, &b, &c, &d})
        list.Add(item);
    list.Move(0, 3);  // b c d a
    list.Move(3, 1);  // b a c d
    EXPECT_EQ(std::vector<TObject*>(list.begin(), list.end()),
              (std::vector<TObject*>{&b, &a, &c, &d}));
    EXPECT_THROW(list.Move(0, 4), std::out_of_range);
    EXPECT_THROW(list.Move(-1, 0), std::out_of_range);
}

TEST(ProgramFolder, IsTheTestBinarysFolderWithATrailingSlash)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_NE(folder.find("/tests/"), std::string::npos);
}

}  // namespace
