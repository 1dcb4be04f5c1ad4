// SPDX-License-Identifier: MIT
#include "test_rtf_reader.h"

#include <QTest>

QTEST_MAIN(TestRtfReader)
