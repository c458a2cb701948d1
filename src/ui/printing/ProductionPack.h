#pragma once

#include "output/LabelGrid.h"
#include "plan/PlanSettings.h"

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

class CuttingPlan;
class QImage;
class PrintJob;
class Project;
class QPagedPaintDevice;

// The production pack of an order: one PDF with everything the shop prints after a sale. In this
// order: the printed documents (order page, bill of materials, and whatever else the print
// choice offers), the filling cut sheet, one assembly sheet per door, and the label sheets (one
// label per cut piece, then one per offcut the cutting plan keeps). Page numbers and the logo run
// through everything but the label sheets, which are printed edge to edge on the label paper.
class ProductionPack {
public:
    // Told after each part with the parts done and the parts in all; returning false stops the
    // pack (nothing is written then).
    using Progress = std::function<bool(int done, int total)>;

    static const char* const kDocumentName; // the PDF's title
    static const char* const kCancelled;    // the error of a pack stopped by its progress
    // The margin under a label grid (0.1 mm) that takes the order line of the page.
    static constexpr int32_t kLabelLineRoom = 70;

    explicit ProductionPack(Project& project, const LabelGrid& labels = LabelGrid());

    // The settings of the pack's cutting plan (its plan page and the offcuts it labels); without
    // them, those of the window's plan page.
    void setPlanSettings(const PlanSettings& settings) { planSettings_ = settings; }

    // The number of parts the progress counts: one per printed document, the filling sheet, one
    // per door and the labels.
    int partCount() const;

    // The whole pack on a device whose painter is not yet begun. Returns the error message, empty
    // on success.
    QString print(QPagedPaintDevice& device, const Progress& progress = {});
    // The pack as A4 PDF bytes; empty bytes and the message in error on failure.
    QByteArray pdf(QString* error = nullptr, const Progress& progress = {});
    // The PDF written to a file (replaced whole, or left untouched on failure). Returns the error
    // message, empty on success.
    QString writePdf(const std::filesystem::path& path, const Progress& progress = {});

    // The filling cut sheet, each page with the job's frame and a title; no page when the order
    // has no filling.
    static bool printFillingCutSheet(PrintJob& job, Project& project);

    // "Заказ № 00417 · Иванов Пётр Сергеевич · 10.12.2026": the line naming the order on every
    // page of the pack.
    static QString orderLine(const Project& project);

private:
    // The pack's pages; with a pageTotal, each names the order and its place in the pack.
    QString printPages(QPagedPaintDevice& device, const QImage& logo, int pageTotal, int* pages,
                       const Progress& progress);

    Project& project_;
    LabelGrid labels_;
    std::optional<PlanSettings> planSettings_;
    const CuttingPlan* plan_ = nullptr; // the order's plan while the pack is printed
};
