#pragma once
// Ids of the test-only texts (fallback_en.rc, fallback_fr.rc); no product text uses them.
#define IDS_TEST_BOTH         9000
#define IDS_TEST_ENGLISH_ONLY 9001
#define IDS_TEST_EMPTY_FRENCH 9002
#define IDS_TEST_SPECIAL      9003
