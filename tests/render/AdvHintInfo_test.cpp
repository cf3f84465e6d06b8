// Tests of the rich hint record: emptiness and Assign.
#include <gtest/gtest.h>

#include "render/AdvHintInfo.h"
#include "tests/render/PictureFixtures.h"

namespace {

namespace fx = picture_fixtures;

TEST(AdvHintInfoTest, EmptyWithoutTitleAndNotesText) {
    struct Case {
        const char* name;
        std::function<void(TAdvHintInfo&)> fill;
        bool empty;
    } cases[] = {
        {"new", [](TAdvHintInfo&) {}, true},
        {"only a picture",
         [](TAdvHintInfo& h) {
             TMemoryStream stream;
             fx::Fill(stream, fx::Png());
             h.Picture()->LoadFromStream(stream);
         },
         true},
        {"only ShowHelp", [](TAdvHintInfo& h) { h.SetShowHelp(true); }, true},
        {"only the wide texts",
         [](TAdvHintInfo& h) {
             h.SetWideTitle(u"Wide");
             h.SetWideNotes(u"Notes");
         },
         true},
        {"a title", [](TAdvHintInfo& h) { h.SetTitle(u"Title"); }, false},
        {"one empty line of notes", [](TAdvHintInfo& h) { h.Notes()->Add(u""); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAdvHintInfo hint;
        c.fill(hint);
        EXPECT_EQ(hint.IsEmpty(), c.empty);
    }
}

TEST(AdvHintInfoTest, AssignCopiesEverythingFromAnotherRecordOnly) {
    TAdvHintInfo source;
    source.SetTitle(u"Battery");
    source.Notes()->Add(u"Voltage of the battery");
    source.Notes()->Add(u"in volts");
    source.SetShowHelp(true);
    source.SetWideTitle(u"Wide title");
    source.SetWideNotes(u"Wide notes");
    TMemoryStream stream;
    fx::Fill(stream, fx::Png());
    source.Picture()->LoadFromStream(stream);

    TAdvHintInfo copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Title(), u"Battery");
    EXPECT_EQ(copy.Notes()->Text(), source.Notes()->Text());
    EXPECT_NE(copy.Notes(), source.Notes());
    EXPECT_TRUE(copy.ShowHelp());
    EXPECT_EQ(copy.WideTitle(), u"Wide title");
    EXPECT_EQ(copy.WideNotes(), u"Wide notes");
    EXPECT_FALSE(copy.Picture()->Empty());
    EXPECT_EQ(copy.Picture()->Width(), 6);

    TFont font;
    copy.Assign(&font);
    EXPECT_EQ(copy.Title(), u"Battery");
    EXPECT_TRUE(copy.ShowHelp());

    TStringList lines;
    lines.Add(u"other");
    copy.SetNotes(&lines);
    EXPECT_EQ(copy.Notes()->Count(), 1);
    EXPECT_NE(copy.Notes(), &lines);
}

} // namespace
