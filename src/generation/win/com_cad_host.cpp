#include "com_cad_host.h"
#include "com_dispatch.h"

namespace generation {

namespace {

class ComCadDocument final : public CadDocument {
public:
    explicit ComCadDocument(std::unique_ptr<win::DispatchObject> document)
        : document_(std::move(document)) {}
    bool sendCommand(const QString& command) override
    {
        return document_->CallWithText(L"SendCommand", command.toStdWString());
    }

private:
    std::unique_ptr<win::DispatchObject> document_;
};

class ComCadApplication final : public CadApplication {
public:
    explicit ComCadApplication(std::unique_ptr<win::DispatchObject> application)
        : application_(std::move(application)) {}
    bool setVisible(bool visible) override
    {
        return application_->PutBoolProperty(L"Visible", visible);
    }
    std::unique_ptr<CadDocument> openDocument(const QString& path, bool readOnly) override
    {
        const auto documents = application_->GetObjectProperty(L"Documents");
        if (!documents)
            return nullptr;
        auto document = documents->CallWithTextAndBool(L"Open", path.toStdWString(), readOnly);
        if (!document)
            return nullptr;
        return std::make_unique<ComCadDocument>(std::move(document));
    }

private:
    std::unique_ptr<win::DispatchObject> application_;
};

std::unique_ptr<CadApplication> Wrap(std::unique_ptr<win::DispatchObject> object)
{
    if (!object)
        return nullptr;
    return std::make_unique<ComCadApplication>(std::move(object));
}

} // namespace

std::unique_ptr<CadApplication> ComCadHostConnector::getActiveObject(const QString& progId)
{
    return Wrap(win::DispatchObject::AttachToRunning(progId.toStdWString()));
}

std::unique_ptr<CadApplication> ComCadHostConnector::createObject(const QString& progId)
{
    return Wrap(win::DispatchObject::CreateInstance(progId.toStdWString()));
}

} // namespace generation
