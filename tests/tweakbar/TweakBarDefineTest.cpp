// Definition strings of the tweak-bar layer, their errors, and redefined enumerations.
#include <string>

#include "TweakBarFixture.h"
#include "NamedCases.h"

namespace {

constexpr const char* kSplineDefine =
    "'Spline' size='200 300' position='0 0' valueswidth=80 iconifiable=false color='49 79 79' "
    "alpha=255 refresh=0.016 movable=false resizable=false";

TEST_F(TweakBarTest, BarDefinitionSetsEveryAttribute) {
  TwNewBar("Spline");
  ASSERT_EQ(TwDefine(kSplineDefine), 1);
  const TwBar* bar = tweakbar::InspectBar("Spline");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->rect.x, 0);
  EXPECT_EQ(bar->rect.y, 0);
  EXPECT_EQ(bar->rect.width, 200);
  EXPECT_EQ(bar->rect.height, 300);
  EXPECT_EQ(bar->valuesWidth, 80);
  EXPECT_EQ(bar->color, (std::array<int, 3>{49, 79, 79}));
  EXPECT_EQ(bar->alpha, 255);
  EXPECT_FLOAT_EQ(bar->refresh, 0.016f);
  EXPECT_FALSE(bar->iconifiable);
  EXPECT_FALSE(bar->movable);
  EXPECT_FALSE(bar->resizable);
  EXPECT_TRUE(gErrors.empty());
}

struct FaultyCase {
  const char* name;
  const char* definition;
};

class FaultyBarDefinition : public TweakBarTest, public ::testing::WithParamInterface<FaultyCase> {};

TEST_P(FaultyBarDefinition, IsReportedAndChangesNothing) {
  TwNewBar("Spline");
  TwDefine("'Spline' size='120 140' valueswidth=50");
  EXPECT_EQ(TwDefine(GetParam().definition), 0);
  EXPECT_EQ(gErrors.size(), 1u);
  const TwBar* bar = tweakbar::InspectBar("Spline");
  EXPECT_EQ(bar->rect.width, 120);
  EXPECT_EQ(bar->rect.height, 140);
  EXPECT_EQ(bar->valuesWidth, 50);
  EXPECT_EQ(bar->color, (std::array<int, 3>{17, 109, 143}));
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, FaultyBarDefinition,
    ::testing::Values(FaultyCase{"unknown_bar", "'Other' size='10 10'"},
                      FaultyCase{"unknown_attribute_after_a_good_one", "'Spline' size='10 10' glow=1"},
                      FaultyCase{"too_few_numbers", "'Spline' size='200'"},
                      FaultyCase{"not_a_size", "'Spline' size='0 10'"},
                      FaultyCase{"colour_out_of_range", "'Spline' color='1 2 300'"},
                      FaultyCase{"alpha_not_a_number", "'Spline' alpha=abc"},
                      FaultyCase{"switch_not_a_truth", "'Spline' movable=maybe"},
                      FaultyCase{"negative_refresh", "'Spline' refresh=-1"},
                      FaultyCase{"unclosed_quote", "'Spline' position='1 2"},
                      FaultyCase{"no_value", "'Spline' valueswidth"}, FaultyCase{"no_bar_at_all", ""}),
    testsupport::CaseName<FaultyCase>);

TEST_F(TweakBarTest, EntriesKeepLabelKeyStepAndPrecisionAndMayShareTheEmptyName) {
  TwBar* bar = TwNewBar("Spline");
  float value = 0;
  auto get = [](void* out, void* data) { *static_cast<float*>(out) = *static_cast<float*>(data); };
  ASSERT_EQ(TwAddVarCB(bar, "", TW_TYPE_FLOAT, nullptr, get, &value, "label=Rotation step=0.1 precision=1"),
            1);
  ASSERT_EQ(TwAddButton(
                bar, "", [](void*) {}, nullptr, "label='Push Back CP' key=z"),
            1);
  ASSERT_EQ(TwAddButton(
                bar, "", [](void*) {}, nullptr, "label='Save' key=CTRL+s"),
            1);
  ASSERT_EQ(TwAddSeparator(bar, "", ""), 1);
  const auto& entries = tweakbar::InspectBar("Spline")->entries;
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].label, "Rotation");
  EXPECT_FLOAT_EQ(entries[0].step, 0.1f);
  EXPECT_EQ(entries[0].precision, 1);
  EXPECT_EQ(entries[1].label, "Push Back CP");
  EXPECT_EQ(entries[1].precision, -1);
  ASSERT_EQ(entries[1].keys.size(), 1u);
  EXPECT_EQ(entries[1].keys[0].code, 'z');
  ASSERT_EQ(entries[2].keys.size(), 1u);
  EXPECT_EQ(entries[2].keys[0].code, 's');
  EXPECT_EQ(entries[2].keys[0].modifiers, 2);
  EXPECT_TRUE(gErrors.empty());
}

class FaultyEntryDefinition : public TweakBarTest, public ::testing::WithParamInterface<FaultyCase> {};

TEST_P(FaultyEntryDefinition, IsReportedAndTheEntryNotAdded) {
  TwBar* bar = TwNewBar("Spline");
  EXPECT_EQ(TwAddButton(
                bar, "", [](void*) {}, nullptr, GetParam().definition),
            0);
  EXPECT_EQ(gErrors.size(), 1u);
  EXPECT_TRUE(tweakbar::InspectBar("Spline")->entries.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, FaultyEntryDefinition,
    ::testing::Values(FaultyCase{"key_without_a_key", "label='Save' key=CTRL+"},
                      FaultyCase{"one_of_two_keys_faulty", "label='Redo' key='CTRL+y CTRL+'"},
                      FaultyCase{"unknown_attribute", "label=x colour=red"},
                      FaultyCase{"zero_step", "step=0"}, FaultyCase{"unclosed_quote", "label='open"},
                      FaultyCase{"precision_not_whole", "precision=1.5"},
                      FaultyCase{"precision_too_large", "precision=13"}),
    testsupport::CaseName<FaultyCase>);

TEST_F(TweakBarTest, AnEntryNeedsABar) {
  EXPECT_EQ(TwAddButton(
                nullptr, "", [](void*) {}, nullptr, ""),
            0);
  EXPECT_EQ(gErrors.size(), 1u);
}

TEST_F(TweakBarTest, RedefiningAnEnumerationReplacesItsValuesUnderTheSameType) {
  const TwEnumVal first[] = {{0, "a.xml"}, {1, "b.xml"}};
  const TwType type = TwDefineEnum("LoadFilenamesEnum", first, 2);
  TwBar* bar = TwNewBar("Spline");
  auto get = [](void* out, void*) { *static_cast<int*>(out) = 0; };
  ASSERT_EQ(TwAddVarCB(
                bar, "", type, [](const void*, void*) {}, get, nullptr, "label='Load'"),
            1);

  const TwEnumVal second[] = {{0, "A.xml"}, {1, "a.xml"}, {2, "new.xml"}};
  EXPECT_EQ(TwDefineEnum("LoadFilenamesEnum", second, 3), type);
  const TwType entryType = tweakbar::InspectBar("Spline")->entries[0].type;
  EXPECT_EQ(tweakbar::EnumLabels(entryType), (std::vector<std::string>{"A.xml", "a.xml", "new.xml"}));

  EXPECT_EQ(TwDefineEnum("LoadFilenamesEnum", nullptr, 0), type);  // an empty listing
  EXPECT_TRUE(tweakbar::EnumLabels(type).empty());
  EXPECT_NE(TwDefineEnum("debugDrawTypes", second, 3), type);
}

TEST_F(TweakBarTest, BarNamesAreUniqueAndDeletedBarsAreGone) {
  TwBar* bar = TwNewBar("Spline");
  EXPECT_EQ(TwNewBar("Spline"), nullptr);
  EXPECT_EQ(gErrors.size(), 1u);
  EXPECT_EQ(TwDeleteBar(bar), 1);
  EXPECT_EQ(tweakbar::InspectBar("Spline"), nullptr);
  EXPECT_EQ(TwDeleteBar(bar), 0);
  EXPECT_NE(TwNewBar("Spline"), nullptr);
}

}  // namespace
