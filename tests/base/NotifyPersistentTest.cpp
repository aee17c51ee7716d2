#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/NotifyPersistent.h"
#include "base/SortedStringList.h"

namespace quodle {
namespace {

class TCounter : public TNotifyPersistent {
public:
    void Set(int v) {
        if (v == value_) return;
        value_ = v;
        Changed();
    }

private:
    int value_ = 0;
};

TEST(NotifyPersistent, OneNotificationPerChangeAndOnePerBlock) {
    TCounter c;
    std::vector<const TNotifyPersistent*> senders;
    c.SetOnChange([&](TNotifyPersistent& s) { senders.push_back(&s); });
    c.Set(1);
    c.Set(1);  // no change, no notification
    EXPECT_EQ(senders.size(), 1u);
    c.BeginUpdate();
    c.BeginUpdate();
    c.Set(2);
    c.Set(3);
    c.EndUpdate();
    EXPECT_EQ(senders.size(), 1u);  // held until the outermost block ends
    c.EndUpdate();
    EXPECT_EQ(senders.size(), 2u);
    c.BeginUpdate();
    c.EndUpdate();  // nothing changed inside
    c.EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders[1], &c);
}

TEST(NotifyEventList, FansOutAndSurvivesUnsubscribingDuringANotification) {
    TCounter sender;
    TNotifyEventList list;
    std::string calls;
    int a = 0, b = 0, c = 0;
    list.Add(&a, [&](TNotifyPersistent&) {
        calls += "a";
        list.Remove(&b);  // b must not be called any more, even in this round
    });
    list.Add(&b, [&](TNotifyPersistent&) { calls += "b"; });
    list.Add(&c, [&](TNotifyPersistent&) {
        calls += "c";
        list.Remove(&c);
    });
    EXPECT_EQ(list.Count(), 3u);
    list.Notify(sender);
    EXPECT_EQ(calls, "ac");
    EXPECT_EQ(list.Count(), 1u);
    list.Add(&a, [&](TNotifyPersistent&) { calls += "A"; });  // replaces
    list.Notify(sender);
    EXPECT_EQ(calls, "acA");
    list.Add(&a, nullptr);
    EXPECT_EQ(list.Count(), 0u);
}

TEST(SortedStringList, SortedCaseInsensitiveWithoutDuplicates) {
    TSortedStringList list;
    int changes = 0;
    list.SetOnChange([&](TNotifyPersistent&) { ++changes; });
    list.Assign({"setq", "Defun", "SETQ", "car", "vl-load-com", "defun"});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"car", "Defun", "setq", "vl-load-com"}));
    EXPECT_EQ(list.IndexOf("DEFUN"), 1);
    EXPECT_TRUE(list.Contains("Vl-Load-Com"));
    EXPECT_FALSE(list.Contains("vl-load"));
    EXPECT_FALSE(list.Contains(""));
    EXPECT_FALSE(list.Add("CAR"));
    EXPECT_TRUE(list.Add("atoi"));
    EXPECT_EQ(list[0], "atoi");
    EXPECT_EQ(changes, 2);
    // Trail bytes are not letters: ァ (83 61) and ア (83 41) stay apart.
    list.Assign({"\x83\x61", "\x83\x41"});
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.IndexOf("\x83\x41"), 0);
    EXPECT_EQ(list.IndexOf("\x83\x61"), 1);
    list.Clear();
    list.Clear();
    EXPECT_EQ(changes, 4);
}

}  // namespace
}  // namespace quodle
