#include "module/fobject.h"
#include "module/fuid.h"
#include "module/implements.h"
#include "module/owned.h"
#include "module/tagged_value.h"
#include "support/guid_text.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

using namespace Brennovar;

namespace {

class IFirst : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("11111111-0000-0000-0000-000000000001");
    virtual int first() noexcept = 0;
};

class ISecond : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("11111111-0000-0000-0000-000000000002");
    virtual int second() noexcept = 0;
};

class Both : public Vorn::ImplementsImpl<Vorn::Detail::QueryInterfaceEnd<Vorn::Detail::RefCounted>,
                                         Vorn::Directly<IFirst, ISecond>, Vorn::Indirectly<>> {
public:
    explicit Both(int* destroyed = nullptr, int* hooks = nullptr)
        : destroyed_(destroyed), hooks_(hooks) {}
    ~Both() override {
        if (destroyed_)
            ++*destroyed_;
    }
    void beforeDestruction() noexcept override {
        if (hooks_)
            ++*hooks_;
    }
    int first() noexcept override { return 1; }
    int second() noexcept override { return 2; }

private:
    int* destroyed_;
    int* hooks_;
};

} // namespace

// The last release calls beforeDestruction once and destroys.
TEST(ImplementsImplTest, FUnknownOnTheSecondFaceGivesTheFirstFaceAndAddsOneReference) {
    int destroyed = 0, hooks = 0;
    auto* object = new Both(&destroyed, &hooks);
    ISecond* second = object;
    void* face = nullptr;
    ASSERT_EQ(second->queryInterface(FUnknown::iid, &face), ResultOk);
    EXPECT_EQ(face, static_cast<void*>(static_cast<IFirst*>(object)));
    EXPECT_EQ(object->referenceCount(), 2);
    EXPECT_EQ(second->queryInterface(ISecond::iid, &face), ResultOk);
    EXPECT_EQ(face, static_cast<void*>(second));
    face = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(object->queryInterface(IDependent::iid, &face), ResultNoInterface);
    EXPECT_EQ(face, nullptr);
    EXPECT_EQ(object->queryInterface(IFirst::iid, nullptr), ResultInvalidArgument);
    EXPECT_EQ(object->release(), 2u);
    EXPECT_EQ(object->release(), 1u);
    EXPECT_EQ(hooks + destroyed, 0);
    EXPECT_EQ(object->release(), 0u);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(hooks, 1);
}

TEST(FObjectTest, AnswersItsThreeIdsWithTheSameFace) {
    Owned<FObject> object(new FObject);
    for (const Guid& id : {FUnknown::iid, IDependent::iid, FObject::iid()}) {
        void* face = nullptr;
        ASSERT_EQ(object->queryInterface(id, &face), ResultOk);
        EXPECT_EQ(face, static_cast<void*>(static_cast<IDependent*>(object.get())));
        static_cast<FUnknown*>(face)->release();
    }
    void* face = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(object->queryInterface(IFirst::iid, &face), ResultNoInterface);
    EXPECT_EQ(face, nullptr);
    EXPECT_EQ(FObject::fromUnknown(object.get()), object.get());
    EXPECT_EQ(object->referenceCount(), 1);
}

TEST(FUIDTest, FourNumbersAndTextForm) {
    FUID id(0xD01A2B7E, 0x4EC511EC, 0xBA6C5414, 0xF376BFAA);
    EXPECT_EQ(id.toString(), "{D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA}");
    EXPECT_EQ(Testing::bytesOf(id.bytes()),
              Testing::storedBytes("{D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA}"));
    EXPECT_TRUE(FUID().isZero());
    FUID a = FUID::generate(), b = FUID::generate();
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(a.isZero());
}

TEST(FTaggedValueTest, CopyDuplicatesStringsAndOwnsThem) {
    char text[] = "scene 12";
    FTaggedValue view = FTaggedValue::fromString8(text);
    FTaggedValue copy;
    copy = view;
    std::strcpy(text, "changed!");
    EXPECT_EQ(copy.type, FTaggedValue::kString8 | FTaggedValue::kOwner);
    EXPECT_STREQ(copy.string8, "scene 12");
    EXPECT_EQ(copy.kind(), FTaggedValue::kString8);

    FTaggedValue wide = FTaggedValue::fromString16(u"take");
    FTaggedValue wideCopy(wide);
    EXPECT_TRUE(wideCopy.owns());
    EXPECT_EQ(std::u16string(wideCopy.string16), u"take");
    wideCopy.release();
    EXPECT_TRUE(wideCopy.isEmpty());

    for (const FTaggedValue& null :
         {FTaggedValue::fromString8(nullptr), FTaggedValue::fromString16(nullptr)}) {
        FTaggedValue nullCopy(null);
        EXPECT_EQ(nullCopy.type, null.type | FTaggedValue::kOwner)
            << "a null string keeps its kind";
        EXPECT_EQ(nullCopy.integer, 0);
    }
}

TEST(FTaggedValueTest, CopyIntoItselfKeepsThePayload) {
    FTaggedValue owned = FTaggedValue::fromString8("free text");
    owned = FTaggedValue(owned);
    FTaggedValue& alias = owned;
    owned = alias;
    EXPECT_STREQ(owned.string8, "free text");
    EXPECT_TRUE(owned.owns());
}

TEST(FTaggedValueTest, ObjectsGetAReferenceAndIntegersAreCopied) {
    Owned<FObject> object(new FObject);
    {
        FTaggedValue value;
        value.type = FTaggedValue::kObject;
        value.object = object.get();
        FTaggedValue copy(value);
        EXPECT_EQ(object->referenceCount(), 2);
        EXPECT_TRUE(copy.owns());
        value.release(); // not owned: nothing released
        EXPECT_EQ(object->referenceCount(), 2);
    }
    EXPECT_EQ(object->referenceCount(), 1);
    FTaggedValue number = FTaggedValue::fromInteger(-5);
    FTaggedValue numberCopy(number);
    EXPECT_EQ(numberCopy.kind(), FTaggedValue::kInteger);
    EXPECT_EQ(numberCopy.integer, -5);
}
