#include "skin/core/SUIMgr.h"

#include "skin/core/SUIPublic.h"
#include "skin/core/SUIThemeFileWriter.h"
#include "tests/support/Artifacts.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// Stand-ins for the components that use a theme: they publish FileTheme and UIStyle and count
// how often their FileTheme is assigned.
class TsuiProbe : public TComponent {
    VARNEL_CLASS(TsuiProbe, TComponent)

public:
    explicit TsuiProbe(TComponent* owner) : TComponent(owner) {}
    TsuiFileTheme* FileTheme() const { return m_fileTheme; }
    void SetFileTheme(TsuiFileTheme* theme) {
        m_fileTheme = theme;
        ++Assignments;
    }
    TsuiUIStyle UIStyle() const { return m_style; }
    void SetUIStyle(TsuiUIStyle style) { m_style = style; }
    int Assignments = 0;

private:
    TsuiFileTheme* m_fileTheme = nullptr;
    TsuiUIStyle m_style = DeepBlue;
};

// The same with a class name that begins "TSui", which the restyling walk passes over.
class TSuiProbe : public TsuiProbe {
    VARNEL_CLASS(TSuiProbe, TsuiProbe)

public:
    using TsuiProbe::TsuiProbe;
};

class TDataHolder : public TComponent {
    VARNEL_CLASS(TDataHolder, TComponent)

public:
    explicit TDataHolder(TComponent* owner) : TComponent(owner) {}
};

} // namespace

VARNEL_CLASS_INFO(TsuiProbe, [](auto& c) {
    c.Component("FileTheme", &TsuiProbe::FileTheme, &TsuiProbe::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TsuiProbe::UIStyle, &TsuiProbe::SetUIStyle);
})
VARNEL_CLASS_INFO(TSuiProbe)
VARNEL_CLASS_INFO(TDataHolder)

namespace {

class FileThemeTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir = testing::TempDir() + "file-theme-" + std::to_string(::getpid());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }

    std::string WriteTheme(const std::string& name, int minWidth) const {
        TsuiThemeFileWriter writer;
        writer.AddInteger("formminwidthint", minWidth); // keys are found whatever their case
        writer.AddInteger("FormBorderColor", 0x123456);
        writer.AddBoolean("ButtonTransparentBool", true);
        const std::string path = Path(name);
        EXPECT_TRUE(writer.SaveToFile(path).IsOk());
        return path;
    }

    std::string m_dir;
};

} // namespace

TEST_F(FileThemeTest, WithoutAFileEveryReadGivesTheNoReaderAnswer) {
    TsuiFileTheme theme(nullptr);
    EXPECT_FALSE(theme.IsThemeLoaded());
    EXPECT_EQ(theme.ThemeFile(), "");
    EXPECT_EQ(theme.GetColor(TsuiThemeElement::FormBorderColor), 0);
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 0);
    EXPECT_FALSE(theme.GetBool(TsuiThemeElement::ButtonTransparentBool));
}

TEST_F(FileThemeTest, ALoadedFileAnswersByElementAndAbsentKeysFallBack) {
    TsuiFileTheme theme(nullptr);
    const std::string file = WriteTheme("a.theme", 321);
    ASSERT_TRUE(theme.SetThemeFile(file).IsOk());
    EXPECT_TRUE(theme.IsThemeLoaded());
    EXPECT_EQ(theme.ThemeFile(), file);
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 321);
    EXPECT_EQ(theme.GetColor(TsuiThemeElement::FormBorderColor), 0x123456);
    EXPECT_TRUE(theme.GetBool(TsuiThemeElement::ButtonTransparentBool));
    EXPECT_EQ(theme.GetColor(TsuiThemeElement::ControlBorderColor), -1);
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormRoundCornerInt), -1);
    EXPECT_FALSE(theme.GetBool(TsuiThemeElement::TitleBarButtonTransparentBool));
    EXPECT_EQ(theme.GetInt(static_cast<TsuiThemeElement>(0)), -1);
}

TEST_F(FileThemeTest, TheSameNameIsNotLoadedAgain) {
    TsuiFileTheme theme(nullptr);
    const std::string file = WriteTheme("a.theme", 1);
    ASSERT_TRUE(theme.SetThemeFile(file).IsOk());
    WriteTheme("a.theme", 2);
    ASSERT_TRUE(theme.SetThemeFile(file).IsOk());
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 1);
    // The comparison is exact: another spelling of the same file loads it again.
    ASSERT_TRUE(theme.SetThemeFile(m_dir + "/./a.theme").IsOk());
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 2);
}

TEST_F(FileThemeTest, AMissingFileChangesNothing) {
    TsuiFileTheme theme(nullptr);
    const std::string file = WriteTheme("a.theme", 5);
    ASSERT_TRUE(theme.SetThemeFile(file).IsOk());
    EXPECT_TRUE(theme.SetThemeFile(Path("missing.theme")).IsOk());
    EXPECT_TRUE(theme.SetThemeFile(m_dir).IsOk()); // a folder is no theme file
    EXPECT_EQ(theme.ThemeFile(), file);
    EXPECT_TRUE(theme.IsThemeLoaded());
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 5);
}

TEST_F(FileThemeTest, ADamagedFileIsRefusedAndTheThemeBeforeItStays) {
    const std::string damaged = Path("damaged.theme");
    std::ofstream(damaged) << "VARNEL THEME but not much more";

    TsuiFileTheme fresh(nullptr);
    TStatus first = fresh.SetThemeFile(damaged);
    EXPECT_FALSE(first.IsOk());
    EXPECT_FALSE(fresh.IsThemeLoaded());
    EXPECT_EQ(fresh.ThemeFile(), "");
    EXPECT_EQ(fresh.GetInt(TsuiThemeElement::FormMinWidthInt), 0);

    TsuiFileTheme theme(nullptr);
    const std::string good = WriteTheme("good.theme", 77);
    ASSERT_TRUE(theme.SetThemeFile(good).IsOk());
    TStatus status = theme.SetThemeFile(damaged);
    EXPECT_FALSE(status.IsOk());
    EXPECT_NE(status.Message().find(damaged), std::string::npos) << status.Message();
    EXPECT_NE(status.Message().find("header claims"), std::string::npos) << status.Message();
    EXPECT_EQ(theme.LastLoadError(), status.Message());
    EXPECT_EQ(theme.ThemeFile(), good);
    EXPECT_TRUE(theme.IsThemeLoaded());
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 77);

    ASSERT_TRUE(theme.SetThemeFile(WriteTheme("other.theme", 78)).IsOk());
    EXPECT_EQ(theme.LastLoadError(), "");
}

TEST_F(FileThemeTest, AnUnreadableFileIsRefused) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    const std::string file = WriteTheme("locked.theme", 1);
    std::filesystem::permissions(file, std::filesystem::perms::none);
    TsuiFileTheme theme(nullptr);
    TStatus status = theme.SetThemeFile(file);
    EXPECT_FALSE(status.IsOk());
    EXPECT_NE(status.Message().find("locked.theme"), std::string::npos);
    EXPECT_FALSE(theme.IsThemeLoaded());
    EXPECT_EQ(theme.ThemeFile(), "");
}

TEST_F(FileThemeTest, AFileBesideTheProgramIsTheSecondCandidate) {
    const std::string folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
    ASSERT_EQ(folder.back(), '/');
    ASSERT_TRUE(
        std::filesystem::exists(folder + ExtractFileName(std::filesystem::read_symlink("/proc/self/exe"))));

    const std::string name = "beside-" + std::to_string(::getpid()) + ".theme";
    TsuiThemeFileWriter writer;
    writer.AddInteger("FormMinWidthInt", 999);
    ASSERT_TRUE(writer.SaveToFile(folder + name).IsOk());

    TsuiFileTheme theme(nullptr);
    TStatus status = theme.SetThemeFile("/no/such/folder/" + name);
    std::filesystem::remove(folder + name);
    ASSERT_TRUE(status.IsOk()) << status.Message();
    EXPECT_TRUE(theme.IsThemeLoaded());
    EXPECT_EQ(theme.ThemeFile(), folder + name);
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 999);
}

TEST_F(FileThemeTest, ThemeFileIsAPublishedPropertyThatLoads) {
    TsuiFileTheme theme(nullptr);
    EXPECT_TRUE(HasProperty(&theme, "ThemeFile"));
    const std::string file = WriteTheme("a.theme", 12);
    ASSERT_TRUE(SetPropText(&theme, "ThemeFile", file).IsOk());
    EXPECT_TRUE(theme.IsThemeLoaded());
    EXPECT_EQ(GetPropText(&theme, "ThemeFile"), file);
}

TEST_F(FileThemeTest, LoadingRestylesTheFormsTsuiComponentsThatUseTheTheme) {
    TForm form(nullptr);
    auto* theme = new TsuiFileTheme(&form);
    auto* otherTheme = new TsuiFileTheme(&form);
    auto* user = new TsuiProbe(&form);
    TsuiProbe* capitalS = new TSuiProbe(&form);
    auto* elsewhere = new TsuiProbe(&form);
    auto* none = new TsuiProbe(&form);
    user->SetFileTheme(theme);
    capitalS->SetFileTheme(theme);
    elsewhere->SetFileTheme(otherTheme);
    for (TsuiProbe* p : {user, capitalS, elsewhere, none}) {
        p->Assignments = 0;
    }

    ASSERT_TRUE(theme->SetThemeFile(WriteTheme("a.theme", 1)).IsOk());
    EXPECT_EQ(user->Assignments, 1);
    EXPECT_EQ(user->FileTheme(), theme);
    EXPECT_EQ(capitalS->Assignments, 0);
    EXPECT_EQ(elsewhere->Assignments, 0);
    EXPECT_EQ(none->Assignments, 0);

    // Nothing loads, nothing is restyled: the same name, a missing file, a damaged file.
    theme->SetThemeFile(theme->ThemeFile());
    theme->SetThemeFile(Path("missing.theme"));
    std::ofstream(Path("bad.theme")) << "x";
    theme->SetThemeFile(Path("bad.theme"));
    EXPECT_EQ(user->Assignments, 1);
}

TEST_F(FileThemeTest, AnOwnerThatIsNoFormIsNotWalked) {
    TDataHolder holder(nullptr);
    auto* theme = new TsuiFileTheme(&holder);
    auto* user = new TsuiProbe(&holder);
    user->SetFileTheme(theme);
    user->Assignments = 0;
    ASSERT_TRUE(theme->SetThemeFile(WriteTheme("a.theme", 1)).IsOk());
    EXPECT_EQ(user->Assignments, 0);
    EXPECT_FALSE(IsFormComponent(&holder));
    EXPECT_FALSE(IsFormComponent(nullptr));
}

TEST_F(FileThemeTest, ImagesLoadByElementAndAMissingOrBrokenImageLeavesTheGraphicEmpty) {
    TBitmap strip(6, 2);
    for (int x = 0; x < 6; ++x) {
        strip.Pixels().Set(x, 0, 0x010101u * static_cast<std::uint32_t>(x + 1));
        strip.Pixels().Set(x, 1, 0xFF0000);
    }
    std::vector<std::byte> bmp;
    ASSERT_TRUE(strip.SaveToBytes(bmp).IsOk());
    TsuiThemeFileWriter writer;
    writer.AddImage("buttonimage", bmp); // element 1, stored in lower case
    writer.AddImage("CheckBoxImage", std::as_bytes(std::span("BM no picture", 13)));
    const std::string file = Path("images.theme");
    ASSERT_TRUE(writer.SaveToFile(file).IsOk());

    TsuiFileTheme theme(nullptr);
    TBitmap bitmap(4, 4);
    theme.GetBitmap(TsuiThemeElement::ButtonImage, &bitmap); // no file yet: nothing happens
    EXPECT_EQ(bitmap.Width(), 4);
    theme.GetSlicedBitmap(TsuiThemeElement::ButtonImage, &bitmap, 1, 3);
    EXPECT_EQ(bitmap.Width(), 4);

    ASSERT_TRUE(theme.SetThemeFile(file).IsOk());
    theme.GetBitmap(TsuiThemeElement::ButtonImage, &bitmap);
    EXPECT_TRUE(SamePixels(bitmap.Pixels(), strip.Pixels(), "whole"));
    theme.GetSlicedBitmap(TsuiThemeElement::ButtonImage, &bitmap, 2, 3);
    ASSERT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Pixels().At(0, 0), 0x030303u);
    EXPECT_EQ(bitmap.Pixels().At(1, 1), 0xFF0000u);

    for (TsuiThemeElement element : {TsuiThemeElement::RadioButtonImage, TsuiThemeElement::CheckBoxImage}) {
        TBitmap other(4, 4);
        theme.GetBitmap(element, &other);
        EXPECT_TRUE(other.Empty());
        other.Canvas()->FillRect({0, 0, 2, 2}); // still usable
        other.SetSize(2, 2);
        EXPECT_EQ(other.Width(), 2);
        TBitmap sliced(4, 4);
        theme.GetSlicedBitmap(element, &sliced, 1, 4);
        EXPECT_TRUE(sliced.Empty());
    }
}

namespace {

// A plain component without the two properties.
class TPlainLabel : public TComponent {
    VARNEL_CLASS(TPlainLabel, TComponent)

public:
    explicit TPlainLabel(TComponent* owner) : TComponent(owner) {}
};

} // namespace

VARNEL_CLASS_INFO(TPlainLabel)

TEST_F(FileThemeTest, ALookIsAppliedOnlyToComponentsThatPublishBothProperties) {
    TForm form(nullptr);
    auto* theme = new TsuiFileTheme(&form);
    auto* box = new TsuiProbe(&form);
    auto* label = new TPlainLabel(&form);
    EXPECT_TRUE(ApplyStyleToComponent(box, MacOS, theme));
    EXPECT_EQ(box->FileTheme(), theme);
    EXPECT_EQ(box->UIStyle(), MacOS);
    EXPECT_EQ(box->Assignments, 1);
    EXPECT_TRUE(ApplyStyleToComponent(box, WinXP, nullptr));
    EXPECT_EQ(box->FileTheme(), nullptr);
    EXPECT_EQ(box->UIStyle(), WinXP);
    EXPECT_FALSE(ApplyStyleToComponent(label, MacOS, theme));
    EXPECT_FALSE(ApplyStyleToComponent(nullptr, MacOS, theme));
}
