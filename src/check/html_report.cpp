// SPDX-License-Identifier: MIT
#include "html_report.h"
#include "html_text.h"
#include "range_map_svg.h"
#include <QHash>

namespace check {

namespace {

// Groups of this many findings or more start folded.
constexpr size_t kFoldedGroup = 50;

const char* const kStyle = R"(
body { font: 14px/1.4 sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.4em; } h2 { font-size: 1.2em; margin-top: 1.6em; } h3 { font-size: 1em; margin: 1em 0 .3em; }
.summary { font-weight: bold; }
details { margin: .3em 0 .3em .6em; } summary { cursor: pointer; font-weight: bold; }
.finding { margin: .4em 0 .6em 1em; }
.finding p { margin: 0 0 0 2.5em; } .finding p.head { margin-left: 0; }
.finding .severity { font-weight: bold; } .error .severity { color: #b00; }
.warning .severity { color: #b86e00; } .note .severity { color: #456; }
.check, .table { font-family: monospace; }
svg.range-map { display: block; font: 11px sans-serif; }
.axis line { stroke: #ddd; } .axis text { fill: #666; text-anchor: middle; }
.range.first rect { fill: #9cc3e6; stroke: #4a7fb5; } .range.second rect { fill: #b7dcae; stroke: #5a9a4c; }
.range.tick line { stroke: #234; stroke-width: 2; } .range.second.tick line { stroke: #2f6b22; }
.range.missing rect { stroke: #c00; stroke-width: 1.5; stroke-dasharray: 4 2; }
.range.missing text { fill: #c00; font-weight: bold; }
.overlap { fill: #f39c12; fill-opacity: .55; stroke: #d35400; }
.bore-label { font-weight: bold; } .lane-label, .empty { fill: #666; }
.fixed, .empty-type, .not-drawn { margin-left: 1em; color: #555; }
.legend span { display: inline-block; padding: 0 .5em; margin-right: .5em; border: 1px solid #999; }
)";

QString Element(const char* tag, const QString& cssClass, const QString& escapedContent)
{
    return QStringLiteral("<%1 class=\"%2\">%3</%1>").arg(QLatin1String(tag), cssClass, escapedContent);
}

QString GroupTitle(const Location& location)
{
    if (location.series.isEmpty() && location.type.isEmpty())
        return QStringLiteral("Catalogue and install root");
    return LocationText(Location{location.series, location.type, {}, {}, {}});
}

void WriteFinding(QString& out, const Finding& finding)
{
    const QString severity = SeverityName(finding.severity);
    out += QStringLiteral("<div class=\"finding %1\"><p class=\"head\">").arg(severity);
    out += Element("span", QStringLiteral("severity"), severity) + QLatin1Char(' ');
    out += Element("span", QStringLiteral("table"), HtmlEscaped(finding.table)) + QLatin1Char(' ');
    out += Element("span", QStringLiteral("check"), QLatin1Char('[') + HtmlEscaped(finding.check) + QLatin1Char(']'));
    if (const QString where = LocationText(finding.location); !where.isEmpty())
        out += QLatin1Char(' ') + Element("span", QStringLiteral("where"), HtmlEscaped(where));
    out += QLatin1String("</p>");
    out += Element("p", QStringLiteral("message"), HtmlEscaped(finding.message));
    if (!finding.change.isEmpty())
        out += Element("p", QStringLiteral("change"), QStringLiteral("Change: ") + HtmlEscaped(finding.change));
    out += QLatin1String("</div>\n");
}

void WriteFindings(QString& out, const Findings& findings)
{
    out += QLatin1String("<section id=\"findings\"><h2>Findings</h2>\n");
    if (findings.empty())
        out += QLatin1String("<p>No findings.</p>\n");
    const std::pair<Severity, const char*> groups[] = {
        {Severity::Error, "Errors"}, {Severity::Warning, "Warnings"}, {Severity::Note, "Notes"}};
    for (const auto& [severity, title] : groups) {
        // The Series / Type groups in the order of their first finding.
        std::vector<std::vector<const Finding*>> bySeriesType;
        QHash<QString, size_t> groupOf;
        for (const Finding& finding : findings) {
            if (finding.severity != severity)
                continue;
            const QString key = finding.location.series + QChar(0x1f) + finding.location.type;
            auto found = groupOf.constFind(key);
            if (found == groupOf.constEnd()) {
                found = groupOf.insert(key, bySeriesType.size());
                bySeriesType.emplace_back();
            }
            bySeriesType[*found].push_back(&finding);
        }
        if (bySeriesType.empty())
            continue;
        size_t count = 0;
        for (const auto& group : bySeriesType)
            count += group.size();
        out += QStringLiteral("<details open class=\"severity-group %1\"><summary>%2 (%3)</summary>\n")
                   .arg(SeverityName(severity), QLatin1String(title), QString::number(count));
        for (const auto& group : bySeriesType) {
            out += QStringLiteral("<details%1 class=\"series-type\"><summary>%2 (%3)</summary>\n")
                       .arg(group.size() < kFoldedGroup ? QStringLiteral(" open") : QString(),
                            HtmlEscaped(GroupTitle(group.front()->location)), QString::number(group.size()));
            for (const Finding* finding : group)
                WriteFinding(out, *finding);
            out += QLatin1String("</details>\n");
        }
        out += QLatin1String("</details>\n");
    }
    out += QLatin1String("</section>\n");
}

void WriteType(QString& out, const TypeMap& type)
{
    out += QStringLiteral("<div class=\"type\"><h3>%1</h3>\n")
               .arg(HtmlEscaped(LocationText(Location{type.series, type.type, {}, {}, {}})));
    if (type.strokesFixed) {
        out += QLatin1String("<p class=\"fixed\">The catalogue fixes the strokes of this Type "
                             "(OwnerProcess): the user types none and the stretch command sends 0 0, "
                             "so there are no ranges to choose from.</p>\n");
    } else if (type.bores.empty()) {
        out += QLatin1String("<p class=\"empty-type\">Fluid_Detail has no rows for this Type.</p>\n");
    } else {
        out += RangeMapSvg(type);
        QStringList notDrawn;
        for (const BoreMap& bore : type.bores) {
            for (const QString& row : bore.notDrawn)
                notDrawn.append(QStringLiteral("Bore ") + bore.bore + QStringLiteral(" / ") + row);
        }
        if (!notDrawn.isEmpty()) {
            out += Element("p", QStringLiteral("not-drawn"),
                           HtmlEscaped(QStringLiteral("Not drawn, bounds unreadable: ") +
                                       notDrawn.join(QStringLiteral("; ")) + QLatin1Char('.')))
                 + QLatin1Char('\n');
        }
    }
    out += QLatin1String("</div>\n");
}

void WriteMaps(QString& out, const std::vector<SeriesMaps>& maps, bool drawingsChecked)
{
    out += QLatin1String("<section id=\"range-maps\"><h2>Range maps</h2>\n"
                         "<p class=\"legend\">Per bore, on one stroke axis: <span style=\"background:#9cc3e6\">"
                         "first-stroke range</span><span style=\"background:#b7dcae\">second-stroke range"
                         "</span><span>| single value</span><span style=\"background:#f8c67a\">overlap"
                         "</span>. Each range shows the drawing it stages; point at a range or an overlap "
                         "for its SortID and the drawing the lookup takes. Strokes between the ranges are "
                         "refused.</p>\n");
    out += drawingsChecked
               ? QStringLiteral("<p class=\"legend\"><span style=\"color:#c00;border-color:#c00\">\u2717 name"
                               "</span>a drawing that is not in Files.</p>\n")
               : QStringLiteral("<p class=\"legend\">A catalogue file alone was checked: whether the "
                               "drawings exist is not known.</p>\n");
    for (const SeriesMaps& series : maps) {
        out += QStringLiteral("<details class=\"series\"><summary>%1 (%2 %3)</summary>\n")
                   .arg(HtmlEscaped(LocationText(Location{series.series, {}, {}, {}, {}})),
                        QString::number(series.types.size()),
                        series.types.size() == 1 ? QStringLiteral("Type") : QStringLiteral("Types"));
        for (const TypeMap& type : series.types)
            WriteType(out, type);
        out += QLatin1String("</details>\n");
    }
    if (maps.empty())
        out += QLatin1String("<p>Fluid_Main lists no Type.</p>\n");
    out += QLatin1String("</section>\n");
}

QString PageHead(const QString& given)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                          "<title>talvex-check %1</title><style>%2</style></head><body>\n"
                          "<h1>talvex-check %1</h1>\n")
        .arg(HtmlEscaped(given), QLatin1String(kStyle));
}

} // namespace

QByteArray HtmlReport(const CheckedInput& input, const Findings& findings,
                      const std::vector<SeriesMaps>& maps, bool drawingsChecked)
{
    QString out = PageHead(input.given);
    out += QStringLiteral("<p class=\"input\">catalogue: %1").arg(HtmlEscaped(input.catalogue));
    if (!input.installRoot.isEmpty())
        out += QStringLiteral("<br>install root: %1").arg(HtmlEscaped(input.installRoot));
    out += QLatin1String("</p>\n");
    out += Element("p", QStringLiteral("summary"), SummaryLine(CountFindings(findings))) + QLatin1Char('\n');
    WriteFindings(out, findings);
    WriteMaps(out, maps, drawingsChecked);
    out += QLatin1String("</body></html>\n");
    return out.toUtf8();
}

QByteArray HtmlFailure(const QString& given, const QString& reason)
{
    QString out = PageHead(given);
    out += Element("p", QStringLiteral("failure"), HtmlEscaped(reason)) + QLatin1Char('\n');
    out += QLatin1String("</body></html>\n");
    return out.toUtf8();
}

} // namespace check
