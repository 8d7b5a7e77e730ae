#include "shell/statistics/StatisticsWindow.h"

#include "files/AtomicFileWrite.h"
#include "shell/statistics/DailyChartWidget.h"
#include "shell/statistics/HeatMapWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <chrono>
#include <span>
#include <sstream>

namespace tessimo {

namespace {

QString choiceText(const char* english) {
    return QCoreApplication::translate("tessimo::StatisticsWindow", english);
}

std::int64_t systemNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

template <typename T> QComboBox* choiceBox(QWidget* parent, std::span<const T> choices) {
    auto* box = new QComboBox(parent);
    for (const T& choice : choices) {
        box->addItem(choiceText(choiceName(choice)));
    }
    return box;
}

} // namespace

StatisticsWindow::StatisticsWindow(StatisticsSource source, QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
    setObjectName(QStringLiteral("statisticsWindow"));
    setSizeGripEnabled(true);

    exercise_ = choiceBox(this, exerciseChoices());
    input_ = choiceBox(this, inputChoices());
    period_ = choiceBox(this, periodChoices());
    period_->setCurrentIndex(1); // four weeks
    measure_ = new QComboBox(this);
    measure_->addItem(tr("Accuracy per note"));
    measure_->addItem(tr("Median answer time per note"));
    export_ = new QPushButton(tr("Export CSV ..."), this);

    auto* filters = new QHBoxLayout;
    filters->addWidget(exercise_);
    filters->addWidget(input_);
    filters->addWidget(period_);
    filters->addSpacing(12);
    filters->addWidget(measure_);
    filters->addStretch(1);
    filters->addWidget(export_);

    heatMap_ = new HeatMapWidget(this);
    chart_ = new DailyChartWidget(this);
    confusions_ = new QTreeWidget(this);
    confusions_->setColumnCount(2);
    confusions_->setHeaderLabels({tr("Most frequent confusions"), tr("Times")});
    confusions_->setRootIsDecorated(false);
    confusions_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    confusions_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    confusions_->header()->setStretchLastSection(false);

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(chart_);
    lower->addWidget(confusions_);
    lower->setStretchFactor(0, 3);
    lower->setStretchFactor(1, 2);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(heatMap_);
    split->addWidget(lower);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    summary_ = new QLabel(this);
    summary_->setTextFormat(Qt::PlainText);
    summary_->setWordWrap(true);
    weakSpots_ =
        new QCheckBox(tr("Ask my weak notes more often (Notes Dictation, Recognize)"), this);
    weakSpots_->setToolTip(tr("Questions still come only from the notes selected in Configure; "
                              "the notes often missed lately are asked more often."));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(weakSpots_, 1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addWidget(summary_);
    layout->addLayout(bottom);
    resize(980, 720);

    const auto changed = [this] { refresh(); };
    connect(exercise_, &QComboBox::currentIndexChanged, this, changed);
    connect(input_, &QComboBox::currentIndexChanged, this, changed);
    connect(period_, &QComboBox::currentIndexChanged, this, changed);
    connect(measure_, &QComboBox::currentIndexChanged, this, [this] { showMeasure(); });
    connect(export_, &QPushButton::clicked, this, &StatisticsWindow::chooseExportFile);
    connect(weakSpots_, &QCheckBox::toggled, this, &StatisticsWindow::weakSpotsToggled);
    setSource(source_);
}

StatisticsWindow::~StatisticsWindow() = default;

void StatisticsWindow::setSource(StatisticsSource source) {
    source_ = std::move(source);
    const QString user = source_.userName.isEmpty() ? tr("default user") : source_.userName;
    setWindowTitle(tr("Statistics \u2014 %1").arg(user));
    {
        const QSignalBlocker quiet(weakSpots_);
        weakSpots_->setChecked(source_.weakSpotPractice && source_.weakSpotPractice());
    }
    weakSpots_->setEnabled(static_cast<bool>(source_.setWeakSpotPractice));
    queries_.reset();
    refresh();
}

StatisticsChoice StatisticsWindow::currentChoice() const {
    StatisticsChoice choice;
    choice.exercise =
        exerciseChoices()[static_cast<std::size_t>(std::max(0, exercise_->currentIndex()))];
    choice.input = inputChoices()[static_cast<std::size_t>(std::max(0, input_->currentIndex()))];
    choice.period = periodChoices()[static_cast<std::size_t>(std::max(0, period_->currentIndex()))];
    return choice;
}

void StatisticsWindow::refresh() {
    problem_.clear();
    // A history that did not exist when last looked at may exist now.
    if (queries_ && !queries_->isOpen()) {
        queries_.reset();
    }
    if (!queries_ && !source_.historyPath.empty()) {
        HistoryProblem problem;
        queries_ = std::make_unique<HistoryQueries>(source_.historyPath, problem);
        if (problem) {
            problem_ = QString::fromStdString(problem.message);
        }
    }
    const std::int64_t now = source_.now ? source_.now() : systemNow();
    if (queries_ && queries_->isOpen()) {
        report_ = buildReport(*queries_, currentChoice(), now, source_.convention);
    } else {
        report_ = StatisticsReport{};
        report_.choice = currentChoice();
        report_.days = dailySeries({}, chartWeeks(report_.choice.period), now);
    }
    showReport();
}

void StatisticsWindow::showReport() {
    showMeasure();
    chart_->setSeries(report_.days);
    confusions_->clear();
    for (const Confusion& confusion : report_.confusions) {
        auto* item = new QTreeWidgetItem(confusions_);
        item->setText(0, QString::fromStdString(confusion.text));
        item->setText(1, QString::number(confusion.count));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    export_->setEnabled(queries_ && queries_->isOpen());
    summary_->setText(summaryText());
}

void StatisticsWindow::showMeasure() {
    heatMap_->setCells(measure_->currentIndex() == 1 ? report_.byAnswerTime : report_.byAccuracy,
                       source_.convention);
}

QString StatisticsWindow::summaryText() const {
    if (!problem_.isEmpty()) {
        return problem_;
    }
    if (source_.historyPath.empty()) {
        return tr("This user's name allows no history file.");
    }
    const QString where = QDir::toNativeSeparators(
        QDir::current().absoluteFilePath(QString::fromStdString(source_.historyPath)));
    if (!queries_ || !queries_->isOpen()) {
        return tr("No answers kept yet. The history will be kept in %1.").arg(where);
    }
    const DailySeries& days = report_.days;
    const int percent = percentRight(days.right, days.answers);
    return tr("%1 answers on %2 of the last %3 days, %4 % right; the heat map counts %5 "
              "single-note answers. History: %6")
        .arg(days.answers)
        .arg(days.practisedDays)
        .arg(days.points.size())
        .arg(percent)
        .arg(report_.noteAnswers)
        .arg(where);
}

bool StatisticsWindow::exportTo(const QString& path, QString* error) const {
    if (!queries_ || !queries_->isOpen()) {
        if (error != nullptr) {
            *error = tr("There is no history to export.");
        }
        return false;
    }
    std::ostringstream text;
    if (!queries_->exportCsv(
            historyFilter(report_.choice, source_.now ? source_.now() : systemNow()), text)) {
        if (error != nullptr) {
            *error = tr("The history could not be read.");
        }
        return false;
    }
    const std::string bytes = text.str();
    const FileWriteResult written = writeFileAtomically(
        path.toStdString(),
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (!written) {
        if (error != nullptr) {
            *error = tr("%1 could not be written: %2")
                         .arg(QDir::toNativeSeparators(path),
                              QString::fromStdString(describeWriteFailure(written)));
        }
        return false;
    }
    return true;
}

void StatisticsWindow::chooseExportFile() {
    const QString name = source_.userName.isEmpty()
                             ? QStringLiteral("tessimo-history.csv")
                             : QStringLiteral("tessimo-history-%1.csv").arg(source_.userName);
    const QString path = QFileDialog::getSaveFileName(this, tr("Export the answers"),
                                                      QDir::home().absoluteFilePath(name),
                                                      tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!exportTo(path, &error)) {
        QMessageBox box(QMessageBox::Warning, windowTitle(), error, QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
}

void StatisticsWindow::weakSpotsToggled(bool on) {
    if (!source_.setWeakSpotPractice) {
        return;
    }
    const QString error = source_.setWeakSpotPractice(on);
    if (!error.isEmpty()) {
        const QSignalBlocker quiet(weakSpots_);
        weakSpots_->setChecked(!on);
        QMessageBox box(QMessageBox::Warning, windowTitle(), error, QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
}

} // namespace tessimo
