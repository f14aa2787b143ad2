// The scenario helper's queueing and its end-of-test check.
#include "ui/headless/scenario.h"

#include <gtest/gtest.h>

#include <exception>

namespace xp::ui::headless {

Scenario::~Scenario() {
    if (std::uncaught_exceptions() > 0) return;
    for (const Answer& a : host_.pendingAnswers()) {
        ADD_FAILURE() << "an expected " << dialogKindName(a.kind)
                      << (a.expectText ? " \"" + *a.expectText + "\"" : std::string()) << " was never shown";
    }
}

Expectation Scenario::queue(DialogKind kind, std::string expectText, std::string expectTitle) {
    Answer a;
    a.kind = kind;
    if (!expectText.empty()) a.expectText = std::move(expectText);
    if (!expectTitle.empty()) a.expectTitle = std::move(expectTitle);
    host_.queue(std::move(a));
    return Expectation(host_.pendingAnswers().back());
}

Expectation Scenario::expectMessage(std::string text) { return queue(DialogKind::MessageBox, std::move(text), {}); }

Expectation Scenario::expectInput(std::string prompt) { return queue(DialogKind::InputBox, std::move(prompt), {}); }

Expectation Scenario::expectFolder(std::string title) { return queue(DialogKind::FolderBrowser, {}, std::move(title)); }

Expectation Scenario::expectFile(std::string title) { return queue(DialogKind::FileOpen, {}, std::move(title)); }

Expectation Scenario::expectMenu() {
    Expectation e = queue(DialogKind::PopupMenu, {}, {});
    return e;
}

Expectation Scenario::expectPrintPreview(std::function<void(PrintGrid&)> inspect) {
    Expectation e = queue(DialogKind::PrintPreview, {}, {});
    host_.pendingAnswers().back().inspectGrid = std::move(inspect);
    return e;
}

std::vector<std::string> Scenario::messages() const {
    std::vector<std::string> out;
    for (const DialogCall& c : host_.calls())
        if (c.kind == DialogKind::MessageBox) out.push_back(c.text);
    return out;
}

const DialogCall& Scenario::lastDialog() const {
    if (host_.calls().empty()) throw std::logic_error("no box or dialog has been shown");
    return host_.calls().back();
}

}  // namespace xp::ui::headless
