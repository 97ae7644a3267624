#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/store/LangTable.h"
#include "core/text/Ascii.h"
#include "core/text/InputErrors.h"
#include "core/users/UserList.h"

namespace varnek {
namespace {

// Records every notification as a short text, so a test compares the whole
// sequence at once.
class RecordingListener : public UserList::Listener {
 public:
  void OnRowsInserted(const UserList&, int first, int count) override { Add("insert", first, count); }
  void OnRowsRemoved(const UserList&, int first, int count) override { Add("remove", first, count); }
  void OnRowChanged(const UserList&, int row) override { events.push_back("change " + std::to_string(row)); }
  void OnRowMoved(const UserList&, int from, int to) override {
    events.push_back("move " + std::to_string(from) + " " + std::to_string(to));
  }
  void OnListReset(const UserList&) override { events.push_back("reset"); }

  std::vector<std::string> events;

 private:
  void Add(const char* what, int first, int count) {
    events.push_back(std::string(what) + " " + std::to_string(first) + " " + std::to_string(count));
  }
};

// The fields are views: `nick` and `share` must outlive them.
MyInfoFields Info(std::string_view nick, std::string_view share) {
  return MyInfoFields{.nick = nick, .share = share, .mode = "P", .status = 1};
}

class UserListTest : public ::testing::Test {
 protected:
  void MyInfo(const std::string& nick, const std::string& share) { list.ApplyMyInfo(Info(nick, share), lang); }
  void UserIp(const std::string& nick, const std::string& ip) { list.ApplyUserIp(nick, ip, list.FindUser(nick)); }
  std::vector<std::string> Nicks() const {
    std::vector<std::string> nicks;
    nicks.reserve(static_cast<std::size_t>(list.Count()));
    for (int row = 0; row < list.Count(); ++row) {
      nicks.push_back(list.Row(row).Nick());
    }
    return nicks;
  }

  LangTable lang;
  UserList list;
};

TEST_F(UserListTest, MyInfoForANewNickFillsEveryCellButIp) {
  list.ApplyMyInfo(MyInfoFields{.nick = "john",
                                .share = "1536",
                                .description = "some text",
                                .tag = "<++ V:0.674,M:A,H:1/2/3,S:4,L:50>",
                                .hubs = "1/2/3",
                                .mode = "A",
                                .connection = "DSL",
                                .email = "j@example.invalid",
                                .limit = "50",
                                .status = 1},
                   lang);

  ASSERT_EQ(list.Count(), 1);
  const UserRecord& row = list.Row(0);
  EXPECT_EQ(row.Cell(UserColumn::Username), "john");
  EXPECT_EQ(row.Cell(UserColumn::ShareSize), "1.5 KiB");
  EXPECT_EQ(row.Cell(UserColumn::ExactShareSize), "1536 B");
  EXPECT_EQ(row.Cell(UserColumn::Description), "some text");
  EXPECT_EQ(row.Cell(UserColumn::Tag), "<++ V:0.674,M:A,H:1/2/3,S:4,L:50>");
  EXPECT_EQ(row.Cell(UserColumn::Mode), "Active");
  EXPECT_EQ(row.Cell(UserColumn::ConnectionType), "DSL");
  EXPECT_EQ(row.Cell(UserColumn::Status), "Normal");
  EXPECT_EQ(row.Cell(UserColumn::Email), "j@example.invalid");
  EXPECT_EQ(row.Cell(UserColumn::UploadLimit), "50 KiB/s");
  EXPECT_EQ(row.Cell(UserColumn::Ip), "");
}

TEST_F(UserListTest, LaterMyInfoOverwritesButKeepsLimitIpAndRow) {
  MyInfoFields first = Info("ann", "100");
  first.description = "old";
  first.limit = "20";
  list.ApplyMyInfo(first, lang);
  UserIp("ann", "10.0.0.1");

  MyInfoFields second = Info("ann", "1649267441664");
  second.description = "new";
  second.mode = "";
  second.status = 0;
  list.ApplyMyInfo(second, lang);

  ASSERT_EQ(list.Count(), 1);
  const UserRecord& row = list.Row(0);
  EXPECT_EQ(row.Cell(UserColumn::ShareSize), "1.5 TiB");
  EXPECT_EQ(row.Cell(UserColumn::ExactShareSize), "1649267441664 B");
  EXPECT_EQ(row.Cell(UserColumn::Description), "new");
  EXPECT_EQ(row.Cell(UserColumn::Mode), "Unknown");
  EXPECT_EQ(row.Cell(UserColumn::Status), "Unknown");
  EXPECT_EQ(row.Cell(UserColumn::UploadLimit), "20 KiB/s");
  EXPECT_EQ(row.Cell(UserColumn::Ip), "10.0.0.1");
  EXPECT_EQ(list.FindUserByShare("100"), -1);
  EXPECT_EQ(list.FindUserByShare("1649267441664"), 0);
}

TEST_F(UserListTest, UserIpFirstThenMyInfoFillsTheSameRow) {
  UserIp("carl", "192.168.1.5");
  ASSERT_EQ(list.Count(), 1);
  UserRecord ipOnly;
  ipOnly[UserColumn::Username] = "carl";
  ipOnly[UserColumn::Ip] = "192.168.1.5";
  EXPECT_EQ(list.Row(0).cells, ipOnly.cells);

  MyInfo("carl", "1536");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Row(0).Cell(UserColumn::ExactShareSize), "1536 B");
  EXPECT_EQ(list.Row(0).Cell(UserColumn::Ip), "192.168.1.5");
}

TEST_F(UserListTest, NicksAreCaseSensitive) {
  MyInfo("Bob", "1");
  MyInfo("bob", "2");
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"Bob", "bob"}));
  EXPECT_EQ(list.FindUser("Bob"), 0);
  EXPECT_EQ(list.FindUser("bob"), 1);
  EXPECT_EQ(list.FindUser("BOB"), -1);
  EXPECT_TRUE(list.RemoveUser("Bob"));
  EXPECT_EQ(list.FindUser("bob"), 0);
  EXPECT_FALSE(list.RemoveUser("Bob"));
}

TEST_F(UserListTest, ShareThatIsNoNumberAbandonsBeforeAnyCellIsWritten) {
  MyInfoFields known = Info("known", "500");
  known.limit = "7";
  list.ApplyMyInfo(known, lang);
  const UserRecord before = list.Row(0);

  for (const char* share : {"", "abc", "12 B", "1.5", "9223372036854775808"}) {
    SCOPED_TRACE(share);
    EXPECT_THROW(MyInfo("known", share), AbandonedCommandError);
    EXPECT_EQ(list.Row(0).cells, before.cells);

    const std::string fresh = std::string("new") + share;
    EXPECT_THROW(MyInfo(fresh, share), AbandonedCommandError);
    const int row = list.FindUser(fresh);
    ASSERT_EQ(row, list.Count() - 1);
    UserRecord nickOnly;
    nickOnly[UserColumn::Username] = fresh;
    EXPECT_EQ(list.Row(row).cells, nickOnly.cells);
  }
  EXPECT_EQ(list.FindUserByShare("500"), 0);
}

TEST_F(UserListTest, FindUserByShareKeepsAnsweringTheFirstRowInDisplayOrder) {
  MyInfo("zed", "1536");
  MyInfo("amy", "1536");
  MyInfo("max", "2048");
  EXPECT_EQ(list.FindUserByShare("1536"), 0);
  EXPECT_EQ(list.FindUserByShare("1536 B"), -1);

  // The first of two leaves and comes back at the end.
  list.RemoveUser("zed");
  EXPECT_EQ(list.FindUserByShare("1536"), list.FindUser("amy"));
  MyInfo("zed", "1536");
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"amy", "max", "zed"}));
  EXPECT_EQ(list.FindUserByShare("1536"), 0);

  // A sort brings the later one first.
  list.Sort(static_cast<int>(UserColumn::Username));
  list.Sort(3);  // every description is empty: the stable sort keeps the order
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"amy", "max", "zed"}));
  list.SetCell(list.FindUser("zed"), UserColumn::Description, "a");
  list.Sort(static_cast<int>(UserColumn::Description));
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"amy", "max", "zed"}));
  list.SetCell(list.FindUser("amy"), UserColumn::Description, "z");
  list.Sort(static_cast<int>(UserColumn::Description));
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"max", "zed", "amy"}));
  EXPECT_EQ(list.FindUserByShare("1536"), 1);
  EXPECT_EQ(list.FindUserByShare("2048"), 0);

  // A share changes: the row joins the other bucket at its display place.
  MyInfo("zed", "2048");
  EXPECT_EQ(list.FindUserByShare("1536"), 2);
  EXPECT_EQ(list.FindUserByShare("2048"), 0);
  MyInfo("max", "1536");
  EXPECT_EQ(list.FindUserByShare("1536"), 0);
  EXPECT_EQ(list.FindUserByShare("2048"), 1);
}

TEST_F(UserListTest, EmptyShareAndIpFindRowsThatLackThem) {
  MyInfo("first", "10");
  UserIp("ipOnlyA", "1.2.3.4");
  UserIp("ipOnlyB", "1.2.3.4");
  EXPECT_EQ(list.FindUserByShare(""), 1);
  EXPECT_EQ(list.FindUserByIp(""), 0);
  EXPECT_EQ(list.FindUserByIp("1.2.3.4"), 1);
  EXPECT_EQ(list.FindUserByIp("1.2.3"), -1);

  UserIp("first", "1.2.3.4");
  EXPECT_EQ(list.FindUserByIp("1.2.3.4"), 0);
  EXPECT_EQ(list.FindUserByIp(""), -1);
  list.RemoveUser("ipOnlyA");
  EXPECT_EQ(list.FindUserByShare(""), 1);
  MyInfo("ipOnlyB", "10");
  EXPECT_EQ(list.FindUserByShare(""), -1);
}

TEST_F(UserListTest, SortComparesTextsIgnoringAsciiCase) {
  struct Case {
    UserColumn column;
    std::vector<std::string> texts;  // in insertion order, for rows n0, n1, ...
    std::vector<std::string> sorted;
  };
  const Case cases[] = {
      {UserColumn::Tag, {"<c>", "<B>", "<a>"}, {"<a>", "<B>", "<c>"}},
      {UserColumn::ShareSize, {"900 MiB", "1.5 GiB", "0 B"}, {"0 B", "1.5 GiB", "900 MiB"}},
      {UserColumn::Email, {"ab", "A", "", "a"}, {"", "A", "a", "ab"}},  // equal texts keep their order
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.column));
    list.Clear();
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      list.SetCell(list.AppendUser("n" + std::to_string(i)), c.column, c.texts[i]);
    }
    list.Sort(static_cast<int>(c.column));
    std::vector<std::string> sorted;
    sorted.reserve(c.texts.size());
    for (int row = 0; row < list.Count(); ++row) {
      sorted.emplace_back(list.Row(row).Cell(c.column));
    }
    EXPECT_EQ(sorted, c.sorted);
  }
  EXPECT_THROW(list.Sort(kUserColumnCount), std::out_of_range);
  EXPECT_THROW(list.Sort(-1), std::out_of_range);
}

TEST_F(UserListTest, ASortedListKeepsItsOrderAsUsersArriveAndChange) {
  const int share = static_cast<int>(UserColumn::ShareSize);
  const auto shares = [this] {
    std::vector<std::string> texts;
    for (int row = 0; row < list.Count(); ++row) {
      texts.emplace_back(list.Row(row).Cell(UserColumn::ShareSize));
    }
    return texts;
  };
  RecordingListener heard;
  list.AddListener(&heard);
  MyInfo("b", "2048");
  MyInfo("a", "1024");
  list.Sort(share, SortDirection::Descending, true);
  EXPECT_EQ(list.SortColumn(), share);
  MyInfo("big", "1073741824");  // first
  MyInfo("mid", "1536");        // between
  MyInfo("twin", "1024");       // after the row it equals
  MyInfo("none", "0");          // last
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"big", "b", "mid", "a", "twin", "none"}));
  EXPECT_EQ(shares(), (std::vector<std::string>{"1 GiB", "2 KiB", "1.5 KiB", "1 KiB", "1 KiB", "0 B"}));

  // A changed share moves its row, then the row is reported changed there; a
  // change that keeps the row between its neighbours moves nothing.
  heard.events.clear();
  MyInfo("none", "4096");
  MyInfo("mid", "1600");
  UserIp("a", "10.0.0.1");
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"big", "none", "b", "mid", "a", "twin"}));
  EXPECT_EQ(heard.events, (std::vector<std::string>{"move 5 1", "change 1", "change 3", "change 4"}));
  EXPECT_EQ(list.FindUser("none"), 1);
  EXPECT_EQ(list.FindUserByShare("1024"), 4);

  // By IP, as the $UserIP of each user comes after his $MyINFO; the order
  // outlasts a lost connection.
  list.Sort(static_cast<int>(UserColumn::Ip));
  list.Clear();
  for (const char* nick : {"c", "a", "b"}) {
    MyInfo(nick, "1");
  }
  UserIp("c", "10.0.0.1");
  UserIp("b", "10.0.0.3");
  UserIp("a", "10.0.0.2");
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"c", "a", "b"}));
  EXPECT_EQ(list.FindUserByIp(""), -1);
  EXPECT_EQ(list.FindUserByShare("1"), 0);
  list.SetCell(list.FindUser("c"), UserColumn::Ip, "10.0.0.9");
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"a", "b", "c"}));
  list.RemoveListener(&heard);
}

TEST_F(UserListTest, UserIpWithAStaleRowNeverTouchesTheWrongRow) {
  MyInfo("a", "1");
  MyInfo("b", "2");
  const int rowOfB = list.FindUser("b");
  list.RemoveUser("a");

  list.ApplyUserIp("b", "10.0.0.2", rowOfB);  // out of range now
  EXPECT_EQ(list.Row(0).Cell(UserColumn::Ip), "10.0.0.2");

  MyInfo("c", "3");
  list.ApplyUserIp("b", "10.0.0.3", 1);  // row 1 holds "c"
  EXPECT_EQ(list.Row(0).Cell(UserColumn::Ip), "10.0.0.3");
  EXPECT_EQ(list.Row(1).Cell(UserColumn::Ip), "");

  list.ApplyUserIp("d", "10.0.0.4", 0);  // "d" has no row at all
  EXPECT_EQ(Nicks(), (std::vector<std::string>{"b", "c", "d"}));
  EXPECT_EQ(list.Row(2).Cell(UserColumn::Ip), "10.0.0.4");
  list.ApplyUserIp("e", "10.0.0.5", -1);
  EXPECT_EQ(list.FindUserByIp("10.0.0.5"), 3);
}

TEST_F(UserListTest, SetCellKeepsEveryIndexRight) {
  list.AppendUser("dup");
  list.AppendUser("dup");
  EXPECT_EQ(list.FindUser("dup"), 0);
  list.SetCell(0, UserColumn::Username, "renamed");
  EXPECT_EQ(list.FindUser("dup"), 1);
  EXPECT_EQ(list.FindUser("renamed"), 0);
  list.SetCell(1, UserColumn::ExactShareSize, "77 B");
  EXPECT_EQ(list.FindUserByShare("77"), 1);
  EXPECT_EQ(list.FindUserByShare(""), 0);
  list.SetCell(0, UserColumn::Ip, "::1");
  EXPECT_EQ(list.FindUserByIp("::1"), 0);
  EXPECT_EQ(list.FindUserByIp(""), 1);
  EXPECT_THROW(list.SetCell(2, UserColumn::Tag, "x"), std::out_of_range);
  EXPECT_THROW(list.Row(2), std::out_of_range);
}

TEST_F(UserListTest, ClearEmptiesTheListAndItsIndexes) {
  MyInfo("a", "1");
  UserIp("a", "1.1.1.1");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.FindUser("a"), -1);
  EXPECT_EQ(list.FindUserByShare("1"), -1);
  EXPECT_EQ(list.FindUserByIp("1.1.1.1"), -1);
  MyInfo("b", "1");
  EXPECT_EQ(list.FindUserByShare("1"), 0);
}

TEST_F(UserListTest, ListenersHearOneNotificationPerChange) {
  RecordingListener heard;
  list.AddListener(&heard);

  MyInfo("a", "1");                                       // new row arrives complete
  MyInfo("a", "2");                                       // known row: one change, not one per cell
  UserIp("b", "1.1.1.1");                                 // new row by $UserIP
  UserIp("a", "2.2.2.2");                                 // known row
  EXPECT_THROW(MyInfo("c", "x"), AbandonedCommandError);  // row appended, then abandoned
  EXPECT_THROW(MyInfo("a", "x"), AbandonedCommandError);  // nothing changes
  list.SetCell(1, UserColumn::Tag, "<t>");
  EXPECT_TRUE(list.RemoveUser("b"));
  EXPECT_FALSE(list.RemoveUser("nobody"));
  list.Sort(0);
  list.Clear();
  list.Clear();  // already empty: nothing to tell
  EXPECT_EQ(heard.events, (std::vector<std::string>{"insert 0 1", "change 0", "insert 1 1", "change 0", "insert 2 1",
                                                    "change 1", "remove 1 1", "reset", "reset"}));

  list.RemoveListener(&heard);
  MyInfo("d", "1");
  EXPECT_EQ(heard.events.size(), 9u);
}

// Random changes against a list that scans, which is right by construction:
// every lookup must agree after every step.
TEST_F(UserListTest, LookupsAgreeWithAScanThroughRandomChanges) {
  std::mt19937 random(20240611);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const auto scan = [&](UserColumn column, const std::string& key) {
    for (int row = 0; row < list.Count(); ++row) {
      std::string text(list.Row(row).Cell(column));
      if (column == UserColumn::ExactShareSize) {
        text = text.substr(0, text.find(' '));
      }
      if (text == key) {
        return row;
      }
    }
    return -1;
  };
  for (int step = 0; step < 3000; ++step) {
    const std::string nick = "u" + std::to_string(pick(40));
    const std::string value = std::to_string(pick(6));
    switch (pick(10)) {
      case 0:
        list.RemoveUser(nick);
        break;
      case 1:
        list.Sort(pick(kUserColumnCount));
        break;
      case 2:
        UserIp(nick, value);
        break;
      case 3:
        if (list.Count() > 0) {
          list.SetCell(pick(list.Count()), UserColumn::Description, value);
        }
        break;
      default:
        MyInfo(nick, value);
        break;
    }
    for (int row = 1; list.SortColumn() >= 0 && row < list.Count(); ++row) {
      const auto column = static_cast<UserColumn>(list.SortColumn());
      ASSERT_LE(AsciiCompareIgnoreCase(list.Row(row - 1).Cell(column), list.Row(row).Cell(column)), 0)
          << "row " << row << " at step " << step;
    }
    for (const std::string& key : {value, std::string(), nick}) {
      ASSERT_EQ(list.FindUser(key), scan(UserColumn::Username, key)) << "step " << step;
      ASSERT_EQ(list.FindUserByShare(key), scan(UserColumn::ExactShareSize, key)) << "step " << step;
      ASSERT_EQ(list.FindUserByIp(key), scan(UserColumn::Ip, key)) << "step " << step;
    }
  }
}

// Thousands of rows make the tables grow, their probe runs collide and wrap,
// and a few shares and IPs held by hundreds of rows make long chains that
// rows leave from the middle and rejoin out of order: every lookup must still
// name the first row in display order.
TEST_F(UserListTest, LookupsAgreeWithAScanThroughGrowthAndLongChains) {
  std::mt19937 random(7);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  auto firstRow = [&](UserColumn column, const std::string& key) {
    for (int row = 0; row < list.Count(); ++row) {
      const std::string_view cell = list.Row(row).Cell(column);
      const std::string_view text = column == UserColumn::ExactShareSize ? cell.substr(0, cell.find(' ')) : cell;
      if (text == key) {
        return row;
      }
    }
    return -1;
  };
  for (int step = 0; step < 12000; ++step) {
    const std::string nick = "n" + std::to_string(pick(3000));
    const std::string share = std::to_string(pick(step < 6000 ? 4 : 2000));
    const std::string ip = "10.0.0." + std::to_string(pick(8));
    switch (pick(12)) {
      case 0:
        list.RemoveUser(nick);
        break;
      case 1:
        UserIp(nick, ip);
        break;
      case 2:
        if (step % 50 == 0) {
          list.Sort(pick(kUserColumnCount));
        }
        break;
      default:
        MyInfo(nick, share);
        break;
    }
    if (step % 1500 == 0 || step == 11999) {
      for (int k = 0; k < 3000; k += 7) {
        const std::string key = "n" + std::to_string(k);
        ASSERT_EQ(list.FindUser(key), firstRow(UserColumn::Username, key)) << key << " at step " << step;
      }
      for (int k = 0; k < 40; ++k) {
        const std::string key = std::to_string(k);
        ASSERT_EQ(list.FindUserByShare(key), firstRow(UserColumn::ExactShareSize, key)) << key << " at " << step;
      }
      for (const std::string key : {"", "10.0.0.0", "10.0.0.3", "10.0.0.7"}) {
        ASSERT_EQ(list.FindUserByIp(key), firstRow(UserColumn::Ip, key)) << key << " at step " << step;
      }
    }
  }
}

}  // namespace
}  // namespace varnek
