#pragma once

// A dialog whose default button starts disabled.
#define IDD_TEST_DISABLED_DEFAULT 900
#define IDC_TEST_LABEL 901
