// SPDX-License-Identifier: MIT
#include "clean_scripts.h"
#include "big5.h"
#include "drawing_names.h"

namespace demo {

namespace {

QStringList SafeNames(const QStringList& names, QStringList* skipped)
{
    QStringList safe;
    for (const QString& name : names) {
        if (IsSafeStagedName(name) && !safe.contains(name))
            safe.append(name);
        else if (!IsSafeStagedName(name) && skipped)
            skipped->append(name);
    }
    return safe;
}

} // namespace

QByteArray BuildCleanBatch(const QStringList& stagedNames, QStringList* skipped)
{
    QByteArray script;
    auto line = [&script](const QString& text) {
        script += EncodeCp950(text).value_or(text.toLatin1());
        script += "\r\n";
    };
    line(QStringLiteral("@echo off"));
    line(QStringLiteral("rem 清除 3D TALVEX 產生的暫存檔：只刪除下列檔名，不使用萬用字元。"));
    line(QStringLiteral("rem Removes the files 3D TALVEX staged in the temporary folder: "
                        "only the names below, no wildcards."));
    line(QStringLiteral("setlocal"));
    line(QStringLiteral("set \"WORK=%TMP%\""));
    line(QStringLiteral("if not defined WORK set \"WORK=%TEMP%\""));
    line(QStringLiteral("if not defined WORK goto :done"));
    line(QStringLiteral("if not exist \"%WORK%\\\" goto :done"));
    for (const QString& name : SafeNames(stagedNames, skipped)) {
        const QString call = QStringLiteral("call :drop \"%1\"").arg(name);
        if (!EncodeCp950(call)) {
            if (skipped)
                skipped->append(name);
            continue;
        }
        line(call);
    }
    line(QStringLiteral(":done"));
    line(QStringLiteral("endlocal"));
    line(QStringLiteral("goto :eof"));
    line(QString());
    line(QStringLiteral("rem A folder of the same name is not ours: del would empty it."));
    line(QStringLiteral(":drop"));
    line(QStringLiteral("if exist \"%WORK%\\%~1\\\" goto :eof"));
    line(QStringLiteral("if exist \"%WORK%\\%~1\" del /f /q \"%WORK%\\%~1\" >nul 2>&1"));
    line(QStringLiteral("goto :eof"));
    return script;
}

QByteArray BuildCleanShell(const QStringList& stagedNames, QStringList* skipped)
{
    QString script = QStringLiteral(
        "#!/bin/sh\n"
        "# 清除 3D TALVEX 產生的暫存檔：只刪除下列檔名，不使用萬用字元。\n"
        "# Removes the files 3D TALVEX staged in its work folder: only the names\n"
        "# below, no wildcards; folders and links of the same name are left alone.\n"
        "# The folder is the one the program uses, and only when it is a real\n"
        "# folder of the user's own.\n"
        "case ${XDG_RUNTIME_DIR-} in\n"
        "  /*) work=$XDG_RUNTIME_DIR/talvex ;;\n"
        "  *) case ${TMPDIR-} in\n"
        "       /*) work=$TMPDIR ;;\n"
        "       *) work=/tmp ;;\n"
        "     esac\n"
        "     work=$work/talvex-$(id -u) ;;\n"
        "esac\n"
        "[ -d \"$work\" ] && [ ! -L \"$work\" ] && [ -O \"$work\" ] || exit 0\n"
        "for name in \\\n");
    for (const QString& name : SafeNames(stagedNames, skipped))
        script += QStringLiteral("  '%1' \\\n").arg(name);
    script += QStringLiteral(
        "  ; do\n"
        "  target=$work/$name\n"
        "  if [ -f \"$target\" ] && [ ! -L \"$target\" ]; then\n"
        "    rm -f -- \"$target\" 2>/dev/null\n"
        "  fi\n"
        "done\n"
        "exit 0\n");
    return script.toUtf8();
}

} // namespace demo
