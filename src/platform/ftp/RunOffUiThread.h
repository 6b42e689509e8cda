#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>
#include <optional>
#include <type_traits>

namespace quorvane::ftp {

// Runs f on a worker thread while the calling thread turns a local event loop, so windows keep
// painting while a scale is slow to answer. Returns f's result; an exception of f is rethrown here.
// Without an application object there is no loop to turn and f simply runs here.
template<class F> std::invoke_result_t<F> runOffUiThread(F f)
{
    using R = std::invoke_result_t<F>;
    if (!QCoreApplication::instance())
        return f();

    std::optional<std::conditional_t<std::is_void_v<R>, bool, R>> result;
    std::exception_ptr error;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            if constexpr (std::is_void_v<R>) {
                f();
                result = true;
            } else {
                result = f();
            }
        } catch (...) {
            error = std::current_exception();
        }
    }));
    QEventLoop loop;
    // Queued to this thread, so the quit cannot be lost even if the worker ends before exec().
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    if (error)
        std::rethrow_exception(error);
    if constexpr (!std::is_void_v<R>)
        return std::move(*result);
}

} // namespace quorvane::ftp
