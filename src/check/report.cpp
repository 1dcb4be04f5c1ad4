// SPDX-License-Identifier: MIT
#include "report.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace check {

namespace {

QString Counted(int count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

QJsonObject LocationJson(const Location& location)
{
    QJsonObject json;
    const std::pair<const char*, const QString*> parts[] = {
        {"series", &location.series}, {"type", &location.type}, {"bore", &location.bore},
        {"sortId", &location.sortId}, {"path", &location.path}};
    for (const auto& [key, value] : parts) {
        if (!value->isEmpty())
            json.insert(QLatin1String(key), *value);
    }
    return json;
}

// A code with blanks around it is shown between quotes, so they can be seen.
QString Code(const QString& code)
{
    if (!code.isEmpty() && !code.front().isSpace() && !code.back().isSpace())
        return code;
    return QLatin1Char('"') + code + QLatin1Char('"');
}

} // namespace

QString LocationText(const Location& location)
{
    QStringList parts;
    if (!location.series.isEmpty())
        parts.append(QStringLiteral("Series ") + Code(location.series));
    if (!location.type.isEmpty())
        parts.append(QStringLiteral("Type ") + Code(location.type));
    if (!location.bore.isEmpty())
        parts.append(QStringLiteral("Bore ") + Code(location.bore));
    if (!location.sortId.isEmpty())
        parts.append(QStringLiteral("SortID ") + location.sortId);
    if (!location.path.isEmpty())
        parts.append(location.path);
    return parts.join(QStringLiteral(" / "));
}

QString SummaryLine(const FindingCounts& counts)
{
    return QStringLiteral("%1, %2, %3")
        .arg(Counted(counts.errors, "error", "errors"), Counted(counts.warnings, "warning", "warnings"),
             Counted(counts.notes, "note", "notes"));
}

QString TextReport(const CheckedInput& input, const Findings& findings)
{
    QString text = QStringLiteral("talvex-check %1\n").arg(input.given);
    text += QStringLiteral("  catalogue: %1\n").arg(input.catalogue);
    if (!input.installRoot.isEmpty())
        text += QStringLiteral("  install root: %1\n").arg(input.installRoot);
    const std::pair<Severity, const char*> groups[] = {
        {Severity::Error, "Errors"}, {Severity::Warning, "Warnings"}, {Severity::Note, "Notes"}};
    for (const auto& [severity, title] : groups) {
        bool headed = false;
        for (const Finding& finding : findings) {
            if (finding.severity != severity)
                continue;
            if (!headed) {
                text += QStringLiteral("\n%1\n").arg(QLatin1String(title));
                headed = true;
            }
            const QString where = LocationText(finding.location);
            text += QStringLiteral("  %1 %2 [%3]%4\n")
                        .arg(SeverityName(severity), finding.table, finding.check,
                             where.isEmpty() ? QString() : QStringLiteral(" ") + where);
            text += QStringLiteral("      %1\n").arg(finding.message);
            if (!finding.change.isEmpty())
                text += QStringLiteral("      Change: %1\n").arg(finding.change);
        }
    }
    text += QStringLiteral("\n%1\n").arg(SummaryLine(CountFindings(findings)));
    return text;
}

QByteArray JsonReport(const CheckedInput& input, const Findings& findings, int exitStatus)
{
    QJsonArray list;
    for (const Finding& finding : findings) {
        list.append(QJsonObject{{QStringLiteral("severity"), SeverityName(finding.severity)},
                                {QStringLiteral("check"), finding.check},
                                {QStringLiteral("table"), finding.table},
                                {QStringLiteral("location"), LocationJson(finding.location)},
                                {QStringLiteral("message"), finding.message},
                                {QStringLiteral("change"), finding.change}});
    }
    const FindingCounts counts = CountFindings(findings);
    const QJsonObject report{
        {QStringLiteral("input"), input.given},
        {QStringLiteral("catalogue"), input.catalogue},
        {QStringLiteral("installRoot"), input.installRoot.isEmpty() ? QJsonValue() : QJsonValue(input.installRoot)},
        {QStringLiteral("findings"), list},
        {QStringLiteral("summary"), QJsonObject{{QStringLiteral("errors"), counts.errors},
                                                 {QStringLiteral("warnings"), counts.warnings},
                                                 {QStringLiteral("notes"), counts.notes}}},
        {QStringLiteral("exitStatus"), exitStatus},
    };
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

QByteArray JsonFailure(const QString& given, const QString& reason)
{
    const QJsonObject report{{QStringLiteral("input"), given},
                             {QStringLiteral("failure"), reason},
                             {QStringLiteral("exitStatus"), 2}};
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

} // namespace check
