#include "text/cm_string.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string_view>

namespace Brennovar {
namespace {

// Releases a heap object made by a test.
struct Releaser {
    void operator()(FObject* object) const { object->release(); }
};
template <class T>
using Held = std::unique_ptr<T, Releaser>;

Held<CmString> makeText(const char16_t* text) {
    Held<CmString> s(new CmString);
    s->setWideText(text);
    return s;
}

TEST(CmStringTest, AnswersTheTextInterfacesWithOneReferenceEach) {
    Held<CmString> s(new CmString);
    const std::pair<Guid, void*> faces[] = {
        {IString::iid, static_cast<IString*>(s.get())},
        {IStringResult::iid, static_cast<IStringResult*>(s.get())},
        {FObject::iid(), static_cast<IDependent*>(static_cast<FObject*>(s.get()))},
    };
    for (const auto& [id, expected] : faces) {
        void* face = nullptr;
        ASSERT_EQ(s->queryInterface(id, &face), ResultOk);
        EXPECT_EQ(face, expected);
        EXPECT_EQ(s->referenceCount(), 2);
        // Any face answers the same questions.
        void* again = nullptr;
        ASSERT_EQ(static_cast<FUnknown*>(face)->queryInterface(IString::iid, &again), ResultOk);
        EXPECT_EQ(again, faces[0].second);
        static_cast<FUnknown*>(again)->release();
        static_cast<FUnknown*>(face)->release();
        EXPECT_EQ(s->referenceCount(), 1);
    }
    void* face = s.get();
    EXPECT_EQ(s->queryInterface(Guid::fromText("00000000-0000-0000-0000-000000000001"), &face),
              ResultNoInterface);
    EXPECT_EQ(face, nullptr);
    EXPECT_EQ(s->queryInterface(IString::iid, nullptr), ResultInvalidArgument);
    EXPECT_EQ(s->referenceCount(), 1);
}

TEST(CmStringTest, TextSetNarrowByTheHostReadsBackWide) {
    CmString s; // as the attribute writer uses it: a local object for one host call
    IString& host = s;
    host.addRef();
    host.setNarrowText("Take 3");
    host.release();
    EXPECT_FALSE(host.isWideText());
    EXPECT_EQ(std::u16string_view(s.getWideText()), u"Take 3");
    EXPECT_TRUE(host.isWideText());
    EXPECT_EQ(std::string_view(host.getNarrowText()), "Take 3");
    EXPECT_FALSE(host.isWideText());
    EXPECT_EQ(s.referenceCount(), 1);
}

TEST(CmStringTest, HostWritesThroughEveryTextOperation) {
    CmString s;
    static_cast<IStringResult&>(s).setResultText("result");
    EXPECT_EQ(std::string_view(s.getNarrowText()), "result");
    s.setWideText(u"\u00FCber");
    EXPECT_EQ(std::u16string_view(s.getWideText()), u"\u00FCber");
    s.setNarrowText(nullptr);
    EXPECT_TRUE(s.isEmpty());

    auto* buffer = static_cast<char*>(std::malloc(4));
    std::memcpy(buffer, "own", 4);
    s.adoptText(buffer, false);
    EXPECT_EQ(s.rawBuffer(), buffer);
    EXPECT_EQ(std::string_view(s.getNarrowText()), "own");
}

TEST(CmStringTest, KindTestsLookThroughBasesOnlyWhenAsked) {
    CmString s;
    struct Case {
        const char* name;
        bool askBases;
        bool expected;
    };
    const Case cases[] = {
        {"CmString", false, true}, {"CmString", true, true},  {"CmObject", false, false},
        {"CmObject", true, true},  {"FObject", false, false}, {"FObject", true, true},
        {"FString", true, false},  {"cmstring", true, false}, {nullptr, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(s.isKindOf(c.name, c.askBases), c.expected)
            << (c.name ? c.name : "null") << " " << c.askBases;
    EXPECT_TRUE(s.isClass("CmString"));
    EXPECT_FALSE(s.isClass("CmObject"));
    CmObject plain;
    EXPECT_TRUE(plain.isKindOf("FObject", true));
    EXPECT_FALSE(plain.isKindOf("FObject", false));
    // The descriptor creates an empty object of the class.
    Held<CmObject> made(s.classDescriptor().create());
    ASSERT_NE(made, nullptr);
    EXPECT_STREQ(made->className(), "CmString");
    EXPECT_STREQ(s.classDescriptor().base->name, "CmObject");
}

TEST(CmStringTest, EqualityAndOrderUseTheText) {
    Held<CmString> a = makeText(u"Intro");
    Held<CmString> b(new CmString);
    b->setNarrowText("Intro");
    Held<CmString> c = makeText(u"Outro");
    CmObject other;

    EXPECT_TRUE(a->isEqual(b.get()));
    EXPECT_FALSE(a->isEqual(c.get()));
    EXPECT_FALSE(a->isEqual(nullptr));
    EXPECT_FALSE(a->isEqual(&other));
    EXPECT_TRUE(a->isEqual(a.get()));
    EXPECT_EQ(a->compareTo(b.get()), 0);
    EXPECT_LT(a->compareTo(c.get()), 0);
    EXPECT_GT(c->compareTo(a.get()), 0);
    // A plain object is ordered by address, both ways round.
    EXPECT_EQ(a->compareTo(&other), -other.compareTo(a.get()));
    EXPECT_NE(a->compareTo(&other), 0);
}

TEST(CmStringTest, HashValueFoldsTheCharactersIntoTheTable) {
    CmString empty;
    for (uint32 size : {1u, 7u, 1024u, 0xFFFFFFFFu})
        EXPECT_EQ(empty.hashValue(size), 0u) << size;

    CmString s;
    s.setNarrowText("ab");
    EXPECT_EQ(s.hashValue(1000), ((97u << 6) + 98u) % 1000u);
    s.setNarrowText("\xFF"); // signed: -1 wraps to 0xFFFFFFFF
    EXPECT_EQ(s.hashValue(1000), 0xFFFFFFFFu % 1000u);
    s.setWideText(u"\uFFFF"); // 16-bit characters are unsigned
    EXPECT_EQ(s.hashValue(1000), 0xFFFFu % 1000u);
    EXPECT_EQ(s.hashValue(0), 0u);
    EXPECT_TRUE(s.isWide()); // hashing does not convert
    EXPECT_EQ(CmObject().hashValue(0), 0u);
}

TEST(CmStringTest, BinaryRecordRoundTripsInBothWidths) {
    for (bool wide : {false, true}) {
        CmString source;
        if (wide)
            source.setWideText(u"Br\u00FCcke \u65E5");
        else
            source.setNarrowText("Bridge\xE9");
        std::string record;
        ASSERT_TRUE(source.save(record));
        record += "next";

        CmString target;
        std::string_view in = record;
        ASSERT_TRUE(target.load(in));
        EXPECT_EQ(in, "next");
        EXPECT_EQ(target.isWide(), wide);
        EXPECT_TRUE(target.isEqual(&source));
    }
}

TEST(CmStringTest, ShortOrMalformedRecordChangesNothing) {
    CmString source;
    source.setWideText(u"abc");
    std::string record;
    ASSERT_TRUE(source.save(record));
    const std::string bad[] = {
        "",
        record.substr(0, 4),
        record.substr(0, record.size() - 1),
        std::string("\x02\0\0\0\0", 5),
        std::string("\x00\xFF\xFF\xFF\xFF", 5),
    };
    for (const std::string& b : bad) {
        CmString target;
        target.setNarrowText("kept");
        std::string_view in = b;
        EXPECT_FALSE(target.load(in));
        EXPECT_EQ(in.size(), b.size());
        EXPECT_EQ(std::string_view(target.getNarrowText()), "kept");
    }
}

TEST(CmStringTest, TextFormIsUtf8) {
    CmString source;
    source.setNarrowText("\x80 5");
    std::string text;
    ASSERT_TRUE(source.saveText(text));
    EXPECT_EQ(text, "\xE2\x82\xAC 5");
    EXPECT_FALSE(source.isWide());

    CmString target;
    ASSERT_TRUE(target.loadText(text));
    EXPECT_EQ(std::u16string_view(target.getWideText()), u"\u20AC 5");
    EXPECT_FALSE(target.loadText("\xC3"));
    EXPECT_EQ(std::u16string_view(target.getWideText()), u"\u20AC 5");
}

TEST(CmStringTest, CloneCopiesTextAndWidth) {
    Held<CmString> s = makeText(u"Chorus");
    Held<CmObject> copy(s->clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->referenceCount(), 1);
    ASSERT_TRUE(copy->isKindOf("CmString"));
    auto* text = static_cast<CmString*>(copy.get());
    EXPECT_NE(text->rawBuffer(), s->rawBuffer());
    EXPECT_TRUE(text->isWide());
    EXPECT_TRUE(copy->isEqual(s.get()));

    CmObject plain;
    Held<CmObject> plainCopy(plain.clone());
    EXPECT_STREQ(plainCopy->className(), "CmObject");
}

TEST(CmStringTest, LastReleaseThroughAnyFaceDestroys) {
    auto* s = new CmString;
    s->setNarrowText("temporary");
    IString* face = s;
    EXPECT_EQ(face->addRef(), 2u);
    EXPECT_EQ(static_cast<IStringResult*>(s)->release(), 1u);
    EXPECT_EQ(face->release(), 0u); // the sanitizer build checks that the text is freed too
}

} // namespace
} // namespace Brennovar
