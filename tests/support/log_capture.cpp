#include "LogCapture.h"

#include <QByteArray>
#include <QtGlobal>

namespace {

QByteArray watched;
QStringList* collected = nullptr;
QtMessageHandler previous = nullptr;

void collect(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (collected != nullptr && context.category != nullptr && watched == context.category)
        collected->append(message);
    else if (previous != nullptr)
        previous(type, context, message);
}

} // namespace

LogCapture::LogCapture(const char* category) {
    watched = category;
    collected = &messages_;
    previous = qInstallMessageHandler(collect);
}

LogCapture::~LogCapture() {
    qInstallMessageHandler(previous);
    collected = nullptr;
}
