// Tests of the object model: classes, ownership, names, notifications, collections and Assign.
#include <gtest/gtest.h>

#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/UString.h"
#include "tests/platform/framework/TestComponents.h"

namespace {

class ComponentTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        TestLog().clear();
    }
};

template <class E, class F> std::string MessageOf(F&& action) {
    try {
        action();
    } catch (const E& e) {
        return StringToUtf8(e.Message());
    }
    return "(nothing raised)";
}

TEST_F(ComponentTest, ClassIdentityAndRegistry) {
    TTestPanel panel(nullptr);
    EXPECT_EQ(panel.ClassName(), u"TTestPanel");
    EXPECT_EQ(panel.ClassParent(), TTestWidget::StaticClass());
    EXPECT_TRUE(panel.InheritsFrom(TComponent::StaticClass()));
    EXPECT_FALSE(panel.InheritsFrom(TCollection::StaticClass()));
    EXPECT_TRUE(panel.ClassNameIs(u"ttestpanel"));

    TClass found = FindClass(u"ttestwidget");
    ASSERT_EQ(found, TTestWidget::StaticClass());
    std::unique_ptr<TComponent> made(found->CreateComponent(nullptr));
    EXPECT_EQ(made->ClassType(), TTestWidget::StaticClass());
    EXPECT_EQ(GetClass(u"TNope"), nullptr);
    EXPECT_EQ(MessageOf<EClassNotFound>([] { FindClass(u"TNope"); }), "Class TNope not found");
    EXPECT_THROW(TTestWidget::StaticClass()->CreateItem(nullptr), EInvalidCast);
}

TEST_F(ComponentTest, OwnerFreesItsComponentsLastCreatedFirst) {
    auto* form = new TTestForm(nullptr);
    for (const char16_t* name : {u"A", u"B", u"C"})
        (new TTestWidget(form))->SetName(name);
    ASSERT_EQ(form->ComponentCount(), 3);
    TestLog().clear();
    form->Free();
    std::vector<std::string> destroyed;
    for (const std::string& line : TestLog())
        if (line.rfind("Destroy", 0) == 0)
            destroyed.push_back(line);
    EXPECT_EQ(destroyed, (std::vector<std::string>{"Destroy C", "Destroy B", "Destroy A"}));
}

TEST_F(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner) {
    TTestForm form(nullptr);
    auto* a = new TTestWidget(&form);
    auto* b = new TTestWidget(&form);
    a->SetName(u"Button1");
    EXPECT_EQ(form.FindComponent(u"BUTTON1"), a);
    EXPECT_EQ(form.FindComponent(u""), nullptr);
    EXPECT_EQ(MessageOf<EComponentError>([&] { b->SetName(u"button1"); }),
              "A component named button1 already exists");
    EXPECT_EQ(MessageOf<EComponentError>([&] { b->SetName(u"1st"); }), "'1st' is not a valid component name");
    EXPECT_EQ(MessageOf<EComponentError>([&] { b->SetName(u"a b"); }), "'a b' is not a valid component name");
    a->SetName(u"BUTTON1"); // a new case of its own name is no clash
    EXPECT_EQ(a->Name(), u"BUTTON1");
    // A component with a taken name cannot join the owner either.
    TTestWidget stray(nullptr);
    stray.SetName(u"Button1");
    EXPECT_THROW(form.InsertComponent(&stray), EComponentError);
    EXPECT_EQ(stray.Owner(), nullptr);
    // One refused by another owner stays with its own, which still frees it.
    TTestForm other(nullptr);
    auto* owned = new TTestWidget(&other);
    owned->SetName(u"Button1");
    EXPECT_THROW(form.InsertComponent(owned), EComponentError);
    EXPECT_EQ(owned->Owner(), &other);
    EXPECT_EQ(other.FindComponent(u"Button1"), owned);
}

TEST_F(ComponentTest, PublishedFieldFollowsTheOwnedComponentOfItsName) {
    TTestForm form(nullptr);
    auto* button = new TTestWidget(&form);
    EXPECT_EQ(form.Button1, nullptr);
    button->SetName(u"Button1");
    EXPECT_EQ(form.Button1, button);
    button->SetName(u"Other");
    EXPECT_EQ(form.Button1, nullptr);
    button->SetName(u"Button1");
    button->Free();
    EXPECT_EQ(form.Button1, nullptr);
    // A field of another class is left alone.
    auto* plain = new TComponent(&form);
    plain->SetName(u"Panel1");
    EXPECT_EQ(form.Panel1, nullptr);
}

TEST_F(ComponentTest, InsertAndRemoveAreAnnouncedToTheOwnersFamily) {
    TTestForm form(nullptr);
    auto* a = new TTestWidget(&form);
    a->SetName(u"A");
    auto* b = new TTestWidget(nullptr);
    b->SetName(u"B");
    TestLog().clear();
    form.InsertComponent(b);
    EXPECT_EQ(TestLog(), (std::vector<std::string>{"Notify B insert B", "Notify A insert B"}));
    TestLog().clear();
    form.RemoveComponent(b);
    EXPECT_EQ(TestLog(), (std::vector<std::string>{"Notify B remove B", "Notify A remove B"}));
    b->Free();
}

TEST_F(ComponentTest, AComponentFreedByItsOwnerNotifiesThoseThatAsked) {
    auto* form1 = new TTestForm(nullptr);
    auto* form2 = new TTestForm(nullptr);
    auto* watcher = new TTestWidget(form1);
    watcher->SetName(u"Watcher");
    auto* target = new TTestWidget(form2);
    target->SetName(u"Target");
    watcher->SetBuddy(target);
    TestLog().clear();
    form2->Free();
    EXPECT_EQ(watcher->Buddy(), nullptr);
    // The target asked for notifications, so it leaves its owner through RemoveComponent (and hears of
    // that itself) before the watcher is told.
    EXPECT_EQ(TestLog(), (std::vector<std::string>{"Notify Target remove Target", "Destroy Target",
                                                   "Notify Watcher remove Target"}));
    // The link is gone both ways: freeing the watcher later tells nobody else.
    TestLog().clear();
    form1->Free();
    EXPECT_EQ(TestLog(), (std::vector<std::string>{"Notify Watcher remove Watcher", "Destroy Watcher"}));
}

TEST_F(ComponentTest, RemovedFreeNotificationIsNotSent) {
    TTestForm form1(nullptr);
    auto* watcher = new TTestWidget(&form1);
    watcher->SetName(u"Watcher");
    auto* target = new TTestWidget(nullptr);
    target->SetName(u"Target");
    watcher->SetBuddy(target);
    watcher->SetBuddy(nullptr);
    TestLog().clear();
    target->Free();
    EXPECT_EQ(TestLog(), (std::vector<std::string>{"Destroy Target"}));
}

TEST_F(ComponentTest, ComponentIndexMovesWithinTheOwner) {
    TTestForm form(nullptr);
    auto* a = new TTestWidget(&form);
    auto* b = new TTestWidget(&form);
    auto* c = new TTestWidget(&form);
    c->SetComponentIndex(0);
    EXPECT_EQ(form.Components(0), c);
    EXPECT_EQ(a->ComponentIndex(), 1);
    b->SetComponentIndex(99); // clipped to the last place
    EXPECT_EQ(form.Components(2), b);
    EXPECT_EQ(MessageOf<EListError>([&] { form.Components(3); }), "List index out of bounds (3)");
}

TEST_F(ComponentTest, CollectionAddsMovesDeletesAndAnnounces) {
    TTestWidget owner(nullptr);
    TTestItems& items = *owner.Items();
    TestLog().clear();
    auto* first = static_cast<TTestItem*>(items.Add());
    auto* second = static_cast<TTestItem*>(items.Add());
    EXPECT_EQ(TestLog(),
              (std::vector<std::string>{"Notify added 0", "Update nil", "Notify added 1", "Update nil"}));
    auto* inserted = static_cast<TTestItem*>(items.Insert(0));
    EXPECT_EQ(inserted->Index(), 0);
    EXPECT_EQ(first->Index(), 1);
    EXPECT_EQ(inserted->ID(), 2);

    TestLog().clear();
    second->SetCaption(u"x");
    EXPECT_EQ(TestLog(), (std::vector<std::string>{"Update 2"}));

    TestLog().clear();
    items.BeginUpdate();
    second->SetIndex(0);
    items.Delete(1);
    items.EndUpdate();
    // Only the deletion's notifications come through during the update, then one Update for all.
    EXPECT_EQ(TestLog(),
              (std::vector<std::string>{"Notify deleting 2", "Notify extracting 2", "Update nil"}));
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Item(0), second);
    EXPECT_EQ(items.FindItemID(0), first);
    EXPECT_EQ(items.FindItemID(2), nullptr);
    EXPECT_EQ(MessageOf<EListError>([&] { items.Items(5); }), "List index out of bounds (5)");
    EXPECT_THROW(first->SetIndex(7), EListError);

    owner.SetName(u"Grid");
    EXPECT_EQ(first->GetNamePath(), u"Grid.Items[1]");
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
    // IDs are never reused.
    EXPECT_EQ(items.Add()->ID(), 3);

    // An item of a class the other collection does not hold stays where it was.
    TCollection plain(TCollectionItem::StaticClass());
    TCollectionItem* stranger = plain.Add();
    EXPECT_THROW(stranger->SetCollection(&items), EListError);
    EXPECT_EQ(stranger->Collection(), &plain);
    EXPECT_EQ(plain.Count(), 1);
}

TEST_F(ComponentTest, AssignCopiesOrNamesBothClasses) {
    TTestWidget a(nullptr), b(nullptr);
    a.Items()->Add();
    static_cast<TTestItem*>(a.Items()->Add())->SetCaption(u"two");
    b.SetItems(a.Items());
    ASSERT_EQ(b.Items()->Count(), 2);
    EXPECT_EQ(b.Items()->Item(1)->Caption(), u"two");

    TTestFont font;
    EXPECT_EQ(MessageOf<EConvertError>([&] { font.Assign(a.Items()->Items(0)); }),
              "Cannot assign a TTestItem to a TTestFont");
    EXPECT_EQ(MessageOf<EConvertError>([&] { font.Assign(nullptr); }), "Cannot assign a nil to a TTestFont");
}

TEST_F(ComponentTest, PropertiesByName) {
    TTestWidget widget(nullptr);
    SetOrdProp(&widget, u"width", 10);
    SetEnumProp(&widget, u"Kind", u"tkFancy");
    SetSetProp(&widget, u"Options", u"[toItalic,toStrike]");
    SetStrProp(&widget, u"Caption", u"go");
    EXPECT_EQ(widget.Width(), 10);
    EXPECT_EQ(GetEnumProp(&widget, u"Kind"), u"tkFancy");
    EXPECT_EQ(GetSetProp(&widget, u"Options", true), u"[toItalic,toStrike]");
    EXPECT_EQ(GetStrProp(&widget, u"caption"), u"go");
    EXPECT_EQ(GetObjectProp(&widget, u"Font"), widget.Font());
    EXPECT_THROW(SetOrdProp(&widget, u"Small", 70000), EPropertyConvertError);
    EXPECT_EQ(MessageOf<EPropertyError>([&] { GetOrdProp(&widget, u"Nope"); }),
              "Property Nope does not exist");

    TTestForm form(nullptr);
    SetMethodProp(&widget, u"OnClick", &form, u"ButtonClick");
    EXPECT_EQ(GetMethodName(&widget, u"OnClick"), u"ButtonClick");
    widget.OnClick(&widget);
    EXPECT_EQ(form.Clicks.size(), 1u);
    EXPECT_EQ(MessageOf<EMethodNotFound>([&] { SetMethodProp(&widget, u"OnClick", &form, u"Nope"); }),
              "Method Nope not found");
    EXPECT_THROW(SetMethodProp(&widget, u"OnClick", &form, u"ValueChanging"), EPropertyConvertError);
    widget.OnClick = [](TObject*) {};
    EXPECT_EQ(GetMethodName(&widget, u"OnClick"), u"");
}

} // namespace
