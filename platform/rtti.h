#pragma once

// Run-time class information of the program's own classes: each class that
// wants its properties listed (the properties dialog shows them as columns)
// publishes a table of property descriptors, chained to its parent's table.
// Also the plain list of object references that the session's lists build on.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class TObject;

// Kinds as the type information distinguishes them; the properties dialog
// shows integers, enumerations, floats and narrow strings and leaves the rest blank.
enum class TTypeKind { tkInteger, tkEnumeration, tkFloat, tkLString, tkUString, tkOther };

// An integer or enumeration ordinal, a float or a narrow string.
using TPropValue = std::variant<std::monostate, std::int64_t, double, std::string>;

struct TPropInfo {
    std::string Name;
    TTypeKind Kind;
    std::function<TPropValue(const TObject&)> Get;
    bool Writable = false;
};

struct TClassInfo {
    std::string ClassName;
    const TClassInfo* Parent = nullptr;
    std::vector<TPropInfo> Properties;  // this class's own, in declaration order

    // The base class's properties first, each class's in declaration order.
    std::vector<const TPropInfo*> AllProperties() const;
    const TPropInfo* FindProperty(std::string_view name) const;
    // This class or one of its ancestors is the class of ancestor.
    bool InheritsFrom(const TClassInfo& ancestor) const;
};

class TObject {
public:
    virtual ~TObject() = default;
    // The class information of the object's own class; nullptr for classes
    // that publish nothing.
    virtual const TClassInfo* ClassInfo() const { return nullptr; }
};

// A list of object references that owns nothing (the class library's TList).
class TList {
public:
    virtual ~TList() = default;

    int Count() const { return static_cast<int>(items_.size()); }
    TObject* operator[](int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TObject* Items(int index) const { return (*this)[index]; }

    // The changing operations are virtual so that a list keeping indexes over
    // its items stays consistent when it is changed through a TList reference
    // (the properties dialog reorders the lists it shows).
    virtual int Add(TObject* item);
    virtual void Insert(int index, TObject* item);
    virtual void Delete(int index);
    // Removes the first occurrence; returns its former index or -1.
    virtual int Remove(TObject* item);
    virtual void Move(int currentIndex, int newIndex);
    virtual void Clear() { items_.clear(); }
    int IndexOf(const TObject* item) const;
    // Room for capacity items, so that adding up to them moves none.
    void Reserve(int capacity);

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    static void CheckIndex(int index, int highest);

    std::vector<TObject*> items_;
};
