#pragma once

#include <QLoggingCategory>
#include <string>
#include <vector>

namespace kfg::test {

// Qt's log messages, as "category: text", while the object lives; the categories it turned on
// go off again with it.
struct CapturedLog {
    inline static std::vector<std::string> lines;
    QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& text) {
            lines.push_back(std::string(context.category != nullptr ? context.category : "") +
                            ": " + text.toStdString());
        });

    CapturedLog() { lines.clear(); }
    ~CapturedLog() {
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous);
    }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;
    // `rules` as "kfg.settings=true".
    void Enable(const char* rules) { QLoggingCategory::setFilterRules(QString::fromUtf8(rules)); }
};

} // namespace kfg::test
