# Precompiled headers: the Qt and standard headers that most sources include,
# parsed once per build tree rather than once per source. The core library
# makes one set; the program, the note program and the benchmarks reuse it,
# and the test programs reuse the test support library's, which adds the
# test frameworks. Sources still include what they use: clang-tidy reads a
# tree configured without precompiled headers (scripts/kavro.sh lint), where
# a missing include fails. -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON turns them off.

set(KAVRO_PRECOMPILED_HEADERS
  <QApplication> <QByteArray> <QDir> <QFile> <QFileInfo> <QImage> <QKeyEvent> <QLabel> <QLineEdit>
  <QList> <QMouseEvent> <QPainter> <QPushButton> <QString> <QStringList> <QTimer> <QWidget>
  <algorithm> <array> <functional> <memory> <optional> <vector>)
set(KAVRO_TEST_PRECOMPILED_HEADERS ${KAVRO_PRECOMPILED_HEADERS}
  <gtest/gtest.h> <QProcess> <QTemporaryDir> <QTest>)

# ccache caches a compilation that uses a precompiled header only when told
# that the header's defines and time macros may be trusted; without this every
# such compilation would go past the cache.
if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache$" AND NOT CMAKE_DISABLE_PRECOMPILE_HEADERS)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
