#include "com_cad_host.h"
#include "com_dispatch.h"

namespace generation {

namespace {

base::Failure CallFailed(const wchar_t* member)
{
    return base::Fail(QStringLiteral("The CAD host refused ") + QString::fromWCharArray(member));
}

class ComCadDocument final : public CadDocument {
public:
    explicit ComCadDocument(std::unique_ptr<win::DispatchObject> document)
        : document_(std::move(document)) {}
    base::Status sendCommand(const QString& command) override
    {
        if (!document_->CallWithText(L"SendCommand", command.toStdWString()))
            return CallFailed(L"SendCommand");
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
        if (!application_->PutBoolProperty(L"Visible", visible))
            return CallFailed(L"Visible");
        return {};
    }
    base::Result<std::unique_ptr<CadDocument>> openDocument(const QString& path,
                                                            bool readOnly) override
    {
        const auto documents = application_->GetObjectProperty(L"Documents");
        if (!documents)
            return CallFailed(L"Documents");
        auto document = documents->CallWithTextAndBool(L"Open", path.toStdWString(), readOnly);
        if (!document)
            return CallFailed(L"Open");
        return std::unique_ptr<CadDocument>(std::make_unique<ComCadDocument>(std::move(document)));
    }

private:
    std::unique_ptr<win::DispatchObject> application_;
};

base::Result<std::unique_ptr<CadApplication>> Wrap(std::unique_ptr<win::DispatchObject> object,
                                                   const QString& progId)
{
    if (!object)
        return base::Fail(QStringLiteral("No automation object for ") + progId);
    return std::unique_ptr<CadApplication>(
        std::make_unique<ComCadApplication>(std::move(object)));
}

} // namespace

base::Result<std::unique_ptr<CadApplication>>
ComCadHostConnector::getActiveObject(const QString& progId)
{
    return Wrap(win::DispatchObject::AttachToRunning(progId.toStdWString()), progId);
}

base::Result<std::unique_ptr<CadApplication>>
ComCadHostConnector::createObject(const QString& progId)
{
    return Wrap(win::DispatchObject::CreateInstance(progId.toStdWString()), progId);
}

} // namespace generation
