#include "module/owned.h"
#include "text/cm_string.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string_view>

namespace Brennovar {
namespace {

TEST(CmStringTest, AnswersTheTextInterfacesWithOneSharedCount) {
    auto* s = new CmString;
    const std::pair<Guid, void*> faces[] = {
        {IString::iid, static_cast<IString*>(s)},
        {IStringResult::iid, static_cast<IStringResult*>(s)},
        {FObject::iid(), static_cast<IDependent*>(static_cast<FObject*>(s))},
    };
    for (const auto& [id, expected] : faces) {
        void* face = nullptr;
        ASSERT_EQ(s->queryInterface(id, &face), ResultOk);
        EXPECT_EQ(face, expected);
        // Any face answers the same questions.
        void* again = nullptr;
        ASSERT_EQ(static_cast<FUnknown*>(face)->queryInterface(IString::iid, &again), ResultOk);
        EXPECT_EQ(again, faces[0].second);
        EXPECT_EQ(static_cast<FUnknown*>(again)->release(), 2u);
        EXPECT_EQ(static_cast<FUnknown*>(face)->release(), 1u);
    }
    EXPECT_EQ(s->queryInterface(IString::iid, nullptr), ResultInvalidArgument);
    // The last release through any face destroys; the sanitizer build checks the text is freed.
    s->setNarrowText("temporary");
    EXPECT_EQ(static_cast<IStringResult*>(s)->release(), 0u);
}

TEST(CmStringTest, HostWritesThroughEveryTextOperationAndReadsInEitherWidth) {
    // As the attribute writer hands it to the host: one reference, text set narrow by the host.
    Owned<CmString> s(new CmString);
    IString& host = *s.get();
    host.setNarrowText("Take 3");
    EXPECT_FALSE(host.isWideText());
    EXPECT_EQ(std::u16string_view(s->getWideText()), u"Take 3");
    EXPECT_TRUE(host.isWideText());
    EXPECT_EQ(std::string_view(host.getNarrowText()), "Take 3");
    EXPECT_FALSE(host.isWideText());

    static_cast<IStringResult&>(*s.get()).setResultText("result");
    EXPECT_EQ(std::string_view(s->getNarrowText()), "result");
    s->setNarrowText(nullptr);
    EXPECT_TRUE(s->isEmpty());
    auto* buffer = static_cast<char*>(std::malloc(4));
    std::memcpy(buffer, "own", 4);
    s->adoptText(buffer, false);
    EXPECT_EQ(s->rawBuffer(), buffer);
    EXPECT_EQ(std::string_view(s->getNarrowText()), "own");
    EXPECT_EQ(s->referenceCount(), 1);
}

} // namespace
} // namespace Brennovar
