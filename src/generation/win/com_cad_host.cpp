// SPDX-License-Identifier: MIT
#include "com_cad_host.h"

namespace generation {

namespace {

base::Failure Failed(const QString& what, const win::CallFailure& failure)
{
    return base::Fail(what + QStringLiteral(": ")
                      + QString::fromStdWString(failure.description));
}

class ComCadDocument final : public CadDocument {
public:
    explicit ComCadDocument(std::unique_ptr<win::DispatchObject> document)
        : document_(std::move(document)) {}
    base::Status sendCommand(const QString& command) override
    {
        if (const auto sent = document_->CallWithText(L"SendCommand", command.toStdWString());
            !sent)
            return Failed(QStringLiteral("SendCommand"), sent.failure());
        return {};
    }

private:
    std::unique_ptr<win::DispatchObject> document_;
};

class ComCadApplication final : public CadApplication {
public:
    explicit ComCadApplication(std::unique_ptr<win::DispatchObject> application)
        : application_(std::move(application)) {}
    base::Status setVisible(bool visible) override
    {
        if (const auto put = application_->PutBoolProperty(L"Visible", visible); !put)
            return Failed(QStringLiteral("Visible"), put.failure());
        return {};
    }
    base::Result<std::unique_ptr<CadDocument>> openDocument(const QString& path,
                                                            bool readOnly) override
    {
        auto documents = application_->GetObjectProperty(L"Documents");
        if (!documents)
            return Failed(QStringLiteral("Documents"), documents.failure());
        auto document =
            (*documents)->CallWithTextAndBool(L"Open", path.toStdWString(), readOnly);
        if (!document)
            return Failed(QStringLiteral("Open ") + path, document.failure());
        return std::unique_ptr<CadDocument>(
            std::make_unique<ComCadDocument>(std::move(*document)));
    }

private:
    std::unique_ptr<win::DispatchObject> application_;
};

base::Result<std::unique_ptr<CadApplication>> Wrap(win::ObjectResult object,
                                                   const QString& what)
{
    if (!object)
        return Failed(what, object.failure());
    return std::unique_ptr<CadApplication>(
        std::make_unique<ComCadApplication>(std::move(*object)));
}

} // namespace

ComCadHostConnector::ComCadHostConnector(std::shared_ptr<HostWait> wait) : wait_(std::move(wait)) {}

win::BusyWait ComCadHostConnector::busyWait() const
{
    // The objects share the command's clock: a host busy after the Open
    // has only what is left of the bound.
    return win::BusyWait{[wait = wait_] { return wait->pauseBeforeRetry(); }};
}

base::Result<std::unique_ptr<CadApplication>>
ComCadHostConnector::getActiveObject(const QString& progId)
{
    return Wrap(win::DispatchObject::AttachToRunning(progId.toStdWString(), busyWait()),
                QStringLiteral("No running ") + progId);
}

base::Result<std::unique_ptr<CadApplication>>
ComCadHostConnector::createObject(const QString& progId)
{
    return Wrap(win::DispatchObject::CreateInstance(progId.toStdWString(), busyWait()),
                QStringLiteral("Cannot start ") + progId);
}

} // namespace generation
