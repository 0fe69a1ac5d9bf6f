// Showing a megabyte of record text in the form's free-text boxes: the text
// set into the boxes and the boxes painted, as a Show of such a record does.
// The record's text is one megabyte in all, either in one box or shared by
// every field set's box, and either one unbroken line (no place to break a
// word) or ordinary lines of 80 characters.
#include "form/FieldTextBox.h"
#include "form/FormControls.h"

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int RecordSize = 1024 * 1024;

// A box as large as a designed field: the form's width, three lines tall.
constexpr QSize FieldSize(700, 37);

QString recordText(int size, bool unbroken)
{
    QString text(size, QLatin1Char('x'));
    if (!unbroken) {
        for (int i = 79; i < size; i += 80)
            text[i] = QLatin1Char('\n');
    }
    return text;
}

// state.range(0): how many boxes share the megabyte; range(1): 1 when the
// text is one unbroken line.
void showRecord(benchmark::State &state)
{
    const int boxCount = int(state.range(0));
    const QString share = recordText(RecordSize / boxCount, state.range(1) == 1);
    QWidget window;
    auto *column = new QVBoxLayout(&window);
    std::vector<FieldTextBox *> boxes;
    for (int i = 0; i < boxCount; ++i) {
        boxes.push_back(new FieldTextBox(&window));
        boxes.back()->setFixedSize(FieldSize);
        column->addWidget(boxes.back());
    }
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        for (FieldTextBox *box : boxes)
            box->setPlainText(share);
        // What the user sees: every box laid out and painted.
        window.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        for (FieldTextBox *box : boxes)
            box->clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["boxes"] = boxCount;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("BM_ShowMegabyteRecord", showRecord)
        ->ArgNames({"boxes", "unbroken"})
        ->Args({1, 1})
        ->Args({1, 0})
        ->Args({FormControls::FieldSetCount, 1})
        ->Args({FormControls::FieldSetCount, 0})
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
