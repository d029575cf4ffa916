#include "kestrum-framework/config.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/testsupport.h"

namespace fw = kestrum::framework;

namespace {

fw::Config Parsed(const std::string& text) {
    fw::Config config;
    config.Parse(text);
    return config;
}

}  // namespace

TEST(Config, ParseCutsTrimmedTextIntoLines) {
    struct Case {
        const char* text;
        int lines;
    };
    for (const Case& c : std::vector<Case>{{"", 1}, {" \n\n \t", 1}, {"a=1", 1}, {"\n\na=1\n\nb=2\n\n", 3}, {"a\r\nb\r\n", 2}}) {
        EXPECT_EQ(Parsed(c.text).Lines(), c.lines) << '"' << c.text << '"';
    }
    EXPECT_EQ(fw::Config().Lines(), 0);
}

TEST(Config, AByteOrderMarkNeverHidesTheFirstKey) {
    // Also after blanks or a blank line, where the trim used to uncover it
    // only after the check: a save then wrote a second key the next start
    // did not read.
    for (const char* text : {"\xEF\xBB\xBFlevelIndex=3", "\x01\xEF\xBB\xBFlevelIndex=3",
                             "\n \xEF\xBB\xBFlevelIndex=3\nx=1", "\xEF\xBB\xBF\xEF\xBB\xBF levelIndex=3"}) {
        fw::Config config = Parsed(text);
        EXPECT_EQ(config.ReadInt("levelIndex", 0), 3) << text;
        config.Cursor = 0;
        config.WriteInt("levelIndex", 7);
        EXPECT_EQ(Parsed(config.ToString("\n")).ReadInt("levelIndex", 0), 7) << text;
        EXPECT_EQ(config.Lines(), Parsed(text).Lines()) << text << ": the key was rewritten, not added";
    }
}

TEST(Config, SearchStartsAtTheLastHitAndWrapsAround) {
    fw::Config config = Parsed("a=1\nb=2\na=3");
    EXPECT_EQ(config.ReadInt("a", 0), 1);
    EXPECT_EQ(config.ReadInt("b", 0), 2);
    EXPECT_EQ(config.ReadInt("a", 0), 3);
    EXPECT_EQ(config.ReadInt("a", 0), 3) << "the cursor stays on the hit";
    EXPECT_EQ(config.ReadInt("c", -7), -7);
    EXPECT_EQ(config.Cursor, 2);
    EXPECT_EQ(config.Find("B"), 1);
    EXPECT_EQ(config.Cursor, 1);
    EXPECT_EQ(config.Find("zz"), -1);
    EXPECT_EQ(config.Cursor, 1);

    // Parsing a shorter text puts the cursor back on line 0.
    config.Parse("b=9");
    EXPECT_EQ(config.ReadInt("b", 0), 9);
    EXPECT_EQ(config.Cursor, 0);
}

TEST(Config, KeysIgnoreCaseAndSurroundingBlanks) {
    fw::Config config = Parsed("  Speed  =  12  \nname=\nurl=a=b\nflag=true=1\nplain line");
    EXPECT_EQ(config.ReadInt("speed", 0), 12);
    EXPECT_EQ(config.ReadInt(" speed", -1), -1) << "readers do not trim the requested key";
    EXPECT_EQ(config.Find(" speed"), 0) << "Find does";
    EXPECT_EQ(config.ReadString("name", "dflt"), "");
    EXPECT_EQ(config.ReadString("url", ""), "a=b");
    EXPECT_FALSE(config.ReadBool("url", false));
    EXPECT_TRUE(config.ReadBool("flag", false));
    EXPECT_EQ(config.ReadString("plain line", "none"), "none") << "a line without = supplies no value";
    EXPECT_EQ(config.ReadString("", "none"), "none");
    EXPECT_TRUE(config.HasKey("plain line"));
    EXPECT_TRUE(config.Contains("LINE", false));
    EXPECT_FALSE(config.Contains("LINE", true));
    EXPECT_TRUE(config.Contains("a=b", true)) << "values are searched as well";
}

TEST(Config, TypedReaders) {
    fw::Config config = Parsed(
        "i1=12abc\ni2=abc\ni3=\"5\"\nf=2.5\n"
        "flag=yes\nflag=TRUE\n"
        "quoted= \" spaced \" \nmid=ab\"cd\n"
        "list=1,,3\ncol3=1,0.5,0\ncol4=1,0.5,0,0.25\ncol2=1,0.5\nv=3,4\nempty=");
    EXPECT_EQ(config.ReadInt("i1", -1), 12);
    EXPECT_EQ(config.ReadInt("i2", -1), 0);
    EXPECT_EQ(config.ReadInt("i3", -1), 0) << "ReadInt keeps quotes";
    EXPECT_EQ(config.ReadString("i3", ""), "5");
    EXPECT_FLOAT_EQ(config.ReadFloat("f", 0), 2.5f);
    EXPECT_TRUE(config.ReadBool("flag", false));
    EXPECT_EQ(config.Cursor, 5) << "the line with a non-Bool value is passed over";
    EXPECT_EQ(config.ReadString("quoted", ""), "spaced");
    EXPECT_EQ(config.ReadString("mid", ""), "abcd");

    EXPECT_EQ(config.ReadStringData("list", {}, ","), (std::vector<std::string>{"1", "", "3"}));
    EXPECT_EQ(config.ReadIntData("list", {}, ","), (std::vector<int>{1, 0, 3}));
    EXPECT_EQ(config.ReadFloatData("v", {}, ","), (std::vector<float>{3, 4}));
    EXPECT_EQ(config.ReadVec2i("v", {}, ","), (platform::Vec2i{3, 4}));
    EXPECT_EQ(config.ReadVec2f("list", {9, 9}, ","), (platform::Vec2f{9, 9})) << "three parts";
    EXPECT_EQ(config.ReadColor("col3", {}, ","), (platform::Color{1, 0.5f, 0, 1}));
    EXPECT_EQ(config.ReadColor("col4", {}, ","), (platform::Color{1, 0.5f, 0, 0.25f}));
    const platform::Color fallback{0.1f, 0.2f, 0.3f, 0.4f};
    EXPECT_EQ(config.ReadColor("col2", fallback, ","), fallback);

    // A present key with an empty value gives the default of the list readers.
    EXPECT_EQ(config.ReadStringData("empty", {"d"}, ","), (std::vector<std::string>{"d"}));
    EXPECT_EQ(config.ReadIntData("empty", {7}, ","), (std::vector<int>{7}));
    EXPECT_EQ(config.ReadVec2i("empty", {1, 2}, ","), (platform::Vec2i{1, 2}));
    EXPECT_EQ(config.ReadColor("empty", fallback, ","), fallback);
}

TEST(Config, CrLfTextReadsLikeLf) {
    fw::Config crlf = Parsed("a=1\r\nname = x \r\nflag=false\r\n");
    EXPECT_EQ(crlf.ReadInt("a", 0), 1);
    EXPECT_EQ(crlf.ReadString("name", ""), "x");
    EXPECT_FALSE(crlf.ReadBool("flag", true));
    EXPECT_EQ(crlf.ToString("\n"), "a=1\r\nname = x \r\nflag=false") << "each CR stays on its line";
}

TEST(Config, ToStringAndCompact) {
    fw::Config config;
    config.Data = {"", "a=1", "", "b=2"};
    EXPECT_EQ(config.ToString("\n"), "a=1\n\nb=2");
    EXPECT_EQ(config.Compact(), "[],[a=1],[],[b=2]");
}

TEST(Config, WritersAppendOrRewriteInPlace) {
    fw::Config config = Parsed("");
    config.WriteString("player", "Ann");
    config.WriteInt("levelIndex", 4);
    EXPECT_EQ(config.ToString("\n"), "player=Ann\nlevelIndex=4");

    config = Parsed("x=1\ny=2\n  Name = old  \nz=3");
    config.WriteString("name", "new");
    EXPECT_EQ(config.Data[2], "name=new");
    EXPECT_EQ(config.Lines(), 4);
    config.WriteString("name", "");
    EXPECT_EQ(config.Data[2], "name=new") << "an empty value never clears a key";
    config.WriteString("url", "a=b");
    EXPECT_EQ(config.ReadString("url", ""), "a=b") << "a value holding = is kept whole";
    config.Write(" spaced = v ", false);
    EXPECT_EQ(config.Data.back(), " spaced = v ");
    config.WriteString("spaced", "w");
    EXPECT_EQ(config.Data.back(), "spaced=w");
    config.Write("x=9", false);
    EXPECT_EQ(config.ReadInt("x", 0), 1);
    config.Write("no equals sign", true);
    config.Write("", true);
    EXPECT_EQ(config.Lines(), 6);

    config.WriteBool("k", true);
    EXPECT_EQ(config.Data.back(), "k=True");
    EXPECT_TRUE(config.ReadBool("k", false));
    config.WriteFloat("f", 0.1f);
    EXPECT_EQ(config.Data.back(), "f=0.100000001");

    // A new key goes after every line there is (a store that moved its lines
    // away before counting them kept only the new one).
    config = Parsed("levelIndex2=3\ninstructions1=True");
    config.WriteInt("levelIndex", 5);
    config.ReplaceValue("music", "on");
    EXPECT_EQ(config.ToString(","), "levelIndex2=3,instructions1=True,levelIndex=5,music=on");
}

TEST(Config, ReplaceValueReplaceMergeAndSort) {
    fw::Config config = Parsed("x=0\n Key =old=tail\nother=1");
    config.ReplaceValue("key", "a=b");
    EXPECT_EQ(config.Data[1], " Key =a=b") << "the line keeps its own key";
    config.ReplaceValue("other ", "2");
    EXPECT_EQ(config.Data[2], "other=1") << "a key with a trailing blank changes nothing when present";
    config.ReplaceValue("new ", "3");
    EXPECT_EQ(config.Data.back(), "new =3");

    config.Replace("=", ":");
    EXPECT_EQ(config.Data[2], "other:1");

    fw::Config mine = Parsed("a=1\nb=2");
    mine.Merge(Parsed("b=9\nc=3\n\nnoline\nd=4"), false, false);
    EXPECT_EQ(mine.ToString(","), "a=1,b=2,c=3,d=4");
    mine.Merge(Parsed("a=5"), true, false);
    EXPECT_EQ(mine.ReadInt("a", 0), 5);
    mine.Merge(mine, true, false);  // merging into itself changes nothing
    EXPECT_EQ(mine.Lines(), 4);

    fw::Config sorted = Parsed("b=1\na=1\nB=2");
    sorted.Sort();
    EXPECT_EQ(sorted.ToString(","), "B=2,a=1,b=1");
    // Stable: lines that compare equal keep their order, whole lines compared.
    fw::Config ties = Parsed("b=2\na\n\xFF=1\nb=1\n\xFE=1\n\xEF\xBF\xBD=1\nA\nb=10");
    ties.Sort();
    EXPECT_EQ(ties.ToString(","), "A,a,b=1,b=10,b=2,\xFF=1,\xFE=1,\xEF\xBF\xBD=1")
        << "malformed bytes compare as U+FFFD";
    fw::Config merged = Parsed("z=1");
    merged.Merge(Parsed("b=1\nA=1"), true, true);
    EXPECT_EQ(merged.ToString(","), "A=1,b=1,z=1");
}

TEST(Config, CopyCloneClearAndGetData) {
    const std::string dir = testsupport::TempDir();
    ASSERT_TRUE(platform::SaveString("a=1\nb=2", dir + "c.txt"));
    fw::Config loaded(dir + "c.txt");
    EXPECT_EQ(loaded.Path, dir + "c.txt");

    auto clone = loaded.Clone();
    EXPECT_EQ(clone->Data, loaded.Data);
    EXPECT_EQ(clone->Path, loaded.Path);
    EXPECT_EQ(clone->Text, loaded.Text);
    clone->WriteInt("a", 5);
    EXPECT_EQ(loaded.ReadInt("a", 0), 1) << "the clone has lines of its own";

    fw::Config target = Parsed("x=1\ny=2");
    target.ReadInt("y", 0);
    target.CopyData(std::make_shared<fw::Config>());
    target.CopyData(nullptr);
    EXPECT_EQ(target.ToString(","), "x=1,y=2");
    EXPECT_EQ(target.Cursor, 1);
    EXPECT_EQ(fw::Config().Clone()->Lines(), 0);

    fw::Config layered = Parsed("layer.x=1\nobj.x=2\nlayer.y=layer.x");
    EXPECT_EQ(layered.GetData("layer.")->ToString(","), "x=1,y=layer.x") << "only the leading prefix goes";
    EXPECT_EQ(layered.GetData("none.")->Lines(), 0);

    layered.Clear();
    EXPECT_EQ(layered.Lines(), 0);
    EXPECT_EQ(layered.ReadInt("x", 8), 8);
    EXPECT_EQ(layered.Find("x"), -1);
}

TEST(Config, LoadReadsOnceAndReportsMissingFiles) {
    const std::string dir = testsupport::TempDir();
    const std::string path = dir + "prefs.dat";
    ASSERT_TRUE(platform::SaveString("player=Ann\r\nlevelIndex=3\r\n", path));
    fw::Config config;
    EXPECT_TRUE(config.Load(path));
    EXPECT_EQ(config.ReadString("player", ""), "Ann");
    ASSERT_TRUE(platform::SaveString("player=Bob", path));
    EXPECT_TRUE(config.Load(path));
    EXPECT_EQ(config.ReadString("player", ""), "Ann") << "the same path is not read again";

    // Round trip through the file.
    config.WriteInt("levelIndex", 4);
    config.WriteBool("instructions1", false);
    ASSERT_TRUE(platform::SaveString(config.ToString("\n"), dir + "out.dat"));
    fw::Config back(dir + "out.dat");
    EXPECT_EQ(back.ReadString("player", ""), "Ann");
    EXPECT_EQ(back.ReadInt("levelIndex", 0), 4);
    EXPECT_FALSE(back.ReadBool("instructions1", true));

    fw::Config missing;
    EXPECT_FALSE(missing.Load(dir + "nothing.dat"));
    EXPECT_EQ(missing.Lines(), 1);
    EXPECT_EQ(missing.Path, dir + "nothing.dat");
    EXPECT_EQ(missing.Text, "");
    EXPECT_EQ(missing.ReadInt("levelIndex", 2), 2);
}
