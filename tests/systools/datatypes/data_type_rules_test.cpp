#include <gtest/gtest.h>

#include "systools/datatypes/data_type_rules.h"

TEST(DataTypeRules, TypedExtensionsAddressTheirKey)
{
    EXPECT_EQ(NormaliseExtension("txt"), ".txt");
    EXPECT_EQ(NormaliseExtension(".txt"), ".txt");
    EXPECT_EQ(NormaliseExtension("a.b"), ".b");
    EXPECT_EQ(NormaliseExtension("a.b.c"), ".b.c") << "from the first dot on";
    EXPECT_EQ(NormaliseExtension(""), ".");

    EXPECT_TRUE(IsUsableExtension(".txt"));
    EXPECT_TRUE(IsUsableExtension(".b.c"));
    EXPECT_FALSE(IsUsableExtension(".")) << "nothing after the dot";
    EXPECT_FALSE(IsUsableExtension(".a\\b")) << "would name a key below another one";
    EXPECT_FALSE(IsUsableExtension("txt"));
}

TEST(DataTypeRules, StepWidthIsTheTruncatedRootPlusOne)
{
    EXPECT_EQ(FillStepWidth(0), 1u);
    EXPECT_EQ(FillStepWidth(3), 2u);
    EXPECT_EQ(FillStepWidth(4), 3u);
    EXPECT_EQ(FillStepWidth(99), 10u);
    EXPECT_EQ(FillStepWidth(100), 11u);
    EXPECT_EQ(FillStepWidth(5000), 71u);
}

TEST(DataTypeRules, OnlyALeadingSmallLetterIsRaised)
{
    EXPECT_EQ(WithUpperFirstLetter("text document"), "Text document");
    EXPECT_EQ(WithUpperFirstLetter("Text"), "Text");
    EXPECT_EQ(WithUpperFirstLetter("{curly}"), "{curly}") << "braces have no upper case";
    EXPECT_EQ(WithUpperFirstLetter("\xe9t\xe9"), "\xe9t\xe9");
    EXPECT_EQ(WithUpperFirstLetter(""), "");
}

TEST(DataTypeRules, KeyNames)
{
    EXPECT_EQ(NewTypeKeyName(".abc"), "Quenta_abc_file");
    EXPECT_EQ(DefaultIconKey("Quenta_abc_file\\"), "Quenta_abc_file\\DefaultIcon\\");
    EXPECT_EQ(OpenCommandKey("txtfile\\"), "txtfile\\Shell\\Open\\Command\\");
}

