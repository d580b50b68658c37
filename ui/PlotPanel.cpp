#include "PlotPanel.h"

#include "FileChooser.h"
#include "Message.h"
#include "ProjectSession.h"
#include "Prompts.h"
#include "SafeWrite.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QtMath>

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace tamsor {

namespace {

// Each plot area in pixels (3735 x 7725 twips at 15 twips per pixel), and the
// room between the two.
constexpr int kPlotWidth = 249;
constexpr int kPlotHeight = 515;
constexpr int kPlotGap = 7;

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

List firstElements(const List& list, std::size_t count) {
    return List(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(count));
}

// Places an area's axis captions as every plot has them (placeAxisCaptions).
void placeCaptionLabels(PlotArea& area, QLabel* heightCaption, QLabel* valueCaption) {
    const QRect inner = area.contentsRect();
    heightCaption->adjustSize();
    valueCaption->adjustSize();
    const AxisCaptionPlaces places = tamsor::placeAxisCaptions(
        inner.width(), inner.height(), heightCaption->width(), heightCaption->height(),
        valueCaption->width(), valueCaption->height());
    heightCaption->move(inner.left() + qFloor(places.height.left),
                        inner.top() + qFloor(places.height.top));
    valueCaption->move(inner.left() + qFloor(places.value.left),
                       inner.top() + qFloor(places.value.top));
}

// The name as typed, with `suffix` when it has none.
QString withSuffix(const QString& fileName, const QString& suffix) {
    return QFileInfo(fileName).suffix().isEmpty() ? fileName + suffix : fileName;
}

} // namespace

PlotPanel::PlotPanel(Prompts& prompts, FileDialogMemory& fileDialogs, const ProjectSession& session,
                     QWidget* parent)
    : QWidget(parent), prompts_(prompts), fileDialogs_(fileDialogs), session_(session) {
    setFixedSize(2 * kPlotWidth + kPlotGap, kPlotHeight);
    loadPlot_ = new PlotArea(this);
    loadPlot_->setGeometry(0, 0, kPlotWidth, kPlotHeight);
    loadPlot_->setObjectName(QStringLiteral("Picture1"));
    responsePlot_ = new PlotArea(this);
    responsePlot_->setGeometry(kPlotWidth + kPlotGap, 0, kPlotWidth, kPlotHeight);
    responsePlot_->setObjectName(QStringLiteral("Picture2"));
    loadHeightCaption_ = new QLabel(qs(kHeightCaption), loadPlot_);
    responseHeightCaption_ = new QLabel(qs(kHeightCaption), responsePlot_);
    loadValueCaption_ = new QLabel(qs("平均风荷载 / KN"), loadPlot_);
    responseValueCaption_ = new QLabel(qs("平均位移 / mm"), responsePlot_);
    placeCaptionLabels(*loadPlot_, loadHeightCaption_, loadValueCaption_);
    placeCaptionLabels(*responsePlot_, responseHeightCaption_, responseValueCaption_);
    // A plot is named by its value caption; its description lists the
    // plotted values once drawn.
    loadPlot_->setAccessibleName(loadValueCaption_->text());
    responsePlot_->setAccessibleName(responseValueCaption_->text());
    for (PlotArea* area : {loadPlot_, responsePlot_}) {
        area->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(area, &QWidget::customContextMenuRequested, this,
                [this, area](const QPoint& pos) { showPlotMenu(*area, pos); });
    }
}

void PlotPanel::reset() {
    for (PlotArea* area : {loadPlot_, responsePlot_}) {
        for (int i = 0; i < kPlotLabelCount; ++i) {
            QLabel* label = area->pointLabel(i);
            label->hide();
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
            label->setPalette(pal);
        }
    }
    clear();
}

void PlotPanel::clear() {
    clearPlot(*loadPlot_);
    clearPlot(*responsePlot_);
    for (QLabel* caption :
         {loadHeightCaption_, responseHeightCaption_, loadValueCaption_, responseValueCaption_})
        caption->hide();
}

void PlotPanel::plot(const Results& results, const PlotPair& pair) {
    const std::size_t n = results.pointCount();
    const List heights = firstElements(results.numbers().zCoord, n);

    clearPlot(*loadPlot_);
    clearPlot(*responsePlot_);
    plotCurve(firstElements(results.raw().*pair.left, n), heights, *loadPlot_);
    plotCurve(firstElements(results.raw().*pair.right, n), heights, *responsePlot_);
    loadValueCaption_->setText(qs(pair.leftCaption));
    responseValueCaption_->setText(qs(pair.rightCaption));
    loadPlot_->setAccessibleName(loadValueCaption_->text());
    responsePlot_->setAccessibleName(responseValueCaption_->text());
    placeCaptionLabels(*loadPlot_, loadHeightCaption_, loadValueCaption_);
    placeCaptionLabels(*responsePlot_, responseHeightCaption_, responseValueCaption_);
    for (QLabel* caption :
         {loadHeightCaption_, responseHeightCaption_, loadValueCaption_, responseValueCaption_}) {
        caption->show();
        caption->raise();
    }
}

void PlotPanel::setStale(bool stale) {
    loadPlot_->setStale(stale);
    responsePlot_->setStale(stale);
}

void PlotPanel::clearPlot(PlotArea& area) {
    area.cls();
    for (int i = 0; i < kPlotLabelCount; ++i)
        area.pointLabel(i)->hide();
    area.setAccessibleDescription(qs("尚未绘图"));
}

void PlotPanel::plotCurve(const List& x, const List& y, PlotArea& area) {
    const PlotGeometry g = computePlotGeometry(x, y);
    area.drawCurve(g);
    area.setAccessibleDescription(QString::fromStdString(describePlot(g)));
    for (std::size_t i = 0; i < g.labels.size(); ++i) {
        QLabel* label = area.pointLabel(static_cast<int>(i));
        label->show();
        label->setText(QString::fromStdString(g.labels[i].text));
        area.placeLabel(static_cast<int>(i), g);
    }
}

void PlotPanel::showPlotMenu(PlotArea& area, const QPoint& pos) {
    QMenu menu(window());
    QAction* png = menu.addAction(qs("保存为图片(PNG)..."));
    QAction* svg = menu.addAction(qs("保存为矢量图(SVG)..."));
    png->setEnabled(!area.isStale());
    svg->setEnabled(!area.isStale());
    QAction* chosen = menu.exec(area.mapToGlobal(pos));
    if (chosen != png && chosen != svg)
        return;
    const ResultOutput output = chosen == png ? ResultOutput::PlotPng : ResultOutput::PlotSvg;
    QPointer<PlotArea> plot(&area);
    prompts_.saveFile(window(), outputDialog(output), fileDialogs_,
                      offeredOutputName(output, session_.currentFile()),
                      [this, plot, output](QWidget* dialog, const QString& path) {
                          if (plot == nullptr)
                              return false;
                          const std::optional<Message> failure = savePlot(*plot, path, output);
                          if (failure)
                              prompts_.inform(dialog, *failure);
                          return !failure;
                      });
}

std::optional<Message> PlotPanel::savePlot(PlotArea& area, const QString& fileName,
                                           ResultOutput output) {
    if (area.isStale())
        return ProjectSession::noCurrentResults();
    const QString name = withSuffix(fileName, fileDialogTexts(outputDialog(output)).requiredEnding);
    const std::optional<WriteFailure> failure =
        output == ResultOutput::PlotPng ? area.saveImage(name) : area.saveSvg(name);
    if (failure)
        return writeFailureMessage("图片文件", name, *failure);
    return std::nullopt;
}

bool PlotPanel::savePlotImage(PlotArea& area, const QString& fileName) {
    const std::optional<Message> failure = savePlot(area, fileName, ResultOutput::PlotPng);
    if (failure)
        prompts_.inform(window(), *failure);
    return !failure;
}

bool PlotPanel::savePlotSvg(PlotArea& area, const QString& fileName) {
    const std::optional<Message> failure = savePlot(area, fileName, ResultOutput::PlotSvg);
    if (failure)
        prompts_.inform(window(), *failure);
    return !failure;
}

} // namespace tamsor
