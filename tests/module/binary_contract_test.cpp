// The binary contract with the host, checked against the numbers the host was built with (slot
// numbers, id texts, record sizes and offsets), not against the module's own constants.

#include "host/host_object.h"
#include "host/i_command_registry.h"
#include "host/i_dialog_service.h"
#include "host/i_host_object_provider.h"
#include "host/i_project.h"
#include "host/i_selection_service.h"
#include "host/i_translation_service.h"
#include "host/media.h"
#include "host/menus.h"
#include "host/parameters.h"
#include "host/plug_controller.h"
#include "host/plugin_base.h"
#include "host/plugin_factory.h"
#include "host/project_notifications.h"
#include "host/text_interfaces.h"
#include "module/fobject.h"
#include "module/tagged_value.h"
#include "support/guid_text.h"
#include "support/vtable_slot.h"

#include <cstddef>
#include <gtest/gtest.h>

using namespace Brennovar;
using Testing::slotOf;

TEST(BinaryContractTest, FUnknownSlotsComeFirstInEveryInterface) {
    EXPECT_EQ(slotOf(&FUnknown::queryInterface), 0u);
    EXPECT_EQ(slotOf(&FUnknown::addRef), 1u);
    EXPECT_EQ(slotOf(&FUnknown::release), 2u);
    EXPECT_EQ(slotOf(&IDependent::update), 3u);
}

TEST(BinaryContractTest, FactorySlots) {
    EXPECT_EQ(slotOf(&IPluginFactory::getFactoryInfo), 3u);
    EXPECT_EQ(slotOf(&IPluginFactory::countClasses), 4u);
    EXPECT_EQ(slotOf(&IPluginFactory::getClassInfo), 5u);
    EXPECT_EQ(slotOf(&IPluginFactory::createInstance), 6u);
    EXPECT_EQ(slotOf(&IPluginFactory2::getClassInfo2), 7u);
    EXPECT_EQ(slotOf(&IPluginFactory3::getClassInfoUnicode), 8u);
    EXPECT_EQ(slotOf(&IPluginFactory3::setHostContext), 9u);
}

TEST(BinaryContractTest, InterfacesTheHostCallsOnTheComponent) {
    EXPECT_EQ(slotOf(&IPluginBase::initialize), 3u);
    EXPECT_EQ(slotOf(&IPluginBase::terminate), 4u);
    EXPECT_EQ(slotOf(&IActionHandler::executeCommand), 3u);
    EXPECT_EQ(slotOf(&IPlugDevice::getDeviceName), 3u);
    EXPECT_EQ(slotOf(&IPlugDevice::deviceOperation4), 4u);
    EXPECT_EQ(slotOf(&IPlugDevice::deviceOperation5), 5u);
    EXPECT_EQ(slotOf(&IPlugDevice::deviceOperation6), 6u);
    EXPECT_EQ(slotOf(&IPlugDevice::deviceOperation7), 7u);
    EXPECT_EQ(slotOf(&IPlugDevice::deviceOperation8), 8u);
    EXPECT_EQ(slotOf(&IPlugDevice::deviceOperation9), 9u);
    EXPECT_EQ(slotOf(&IPlugDevice::deviceOperation10), 10u);
    EXPECT_EQ(slotOf(&IPlugDevice::deviceOperation11), 11u);
    EXPECT_EQ(slotOf(&IPlugDevice::deviceOperation12), 12u);
    EXPECT_EQ(slotOf(&IProjectStorageNotification::projectStoring), 3u);
    EXPECT_EQ(slotOf(&IProjectNotification2::projectAttached), 3u);
    EXPECT_EQ(slotOf(&IProjectNotification2::projectDetached), 4u);
    EXPECT_EQ(slotOf(&IProjectNotification2::projectNotification5), 5u);
    EXPECT_EQ(slotOf(&IProjectNotification2::projectNotification6), 6u);
    EXPECT_EQ(slotOf(&IProjectNotification2::projectNotification7), 7u);
    EXPECT_EQ(slotOf(&IProjectNotification2::projectRestored), 8u);
    EXPECT_EQ(slotOf(&IPlugController::getParameter), 3u);
    EXPECT_EQ(slotOf(&IPlugController::onParameterChanged), 4u);
    EXPECT_EQ(slotOf(&IPlugController3::getSubController), 3u);
    EXPECT_EQ(slotOf(&IViewBuilder::buildView), 3u);
    EXPECT_EQ(slotOf(&IOptionMenuCallback::updateMenu), 3u);
    EXPECT_EQ(slotOf(&IStringResult::setResultText), 3u);
    EXPECT_EQ(slotOf(&IString::setNarrowText), 3u);
    EXPECT_EQ(slotOf(&IString::setWideText), 4u);
    EXPECT_EQ(slotOf(&IString::getNarrowText), 5u);
    EXPECT_EQ(slotOf(&IString::getWideText), 6u);
    EXPECT_EQ(slotOf(&IString::adoptText), 7u);
    EXPECT_EQ(slotOf(&IString::isWideText), 8u);
}

TEST(BinaryContractTest, HostServiceSlots) {
    EXPECT_EQ(slotOf(&IHostObjectProvider::getObject), 3u);
    EXPECT_EQ(slotOf(&IDialogService::registerSkin), 5u);
    EXPECT_EQ(slotOf(&IDialogService::runDialog), 7u);
    EXPECT_EQ(slotOf(&IDialogService::buildTemplateView), 10u);
    EXPECT_EQ(slotOf(&ITranslationService::loadFromMemory), 3u);
    EXPECT_EQ(slotOf(&ITranslationService::unnamedOperation4), 4u);
    EXPECT_EQ(slotOf(&ITranslationService::getLanguage), 5u);
    EXPECT_EQ(slotOf(&ITranslationService::getString), 6u);
    EXPECT_EQ(slotOf(&ITranslationService::translate), 7u);
    EXPECT_EQ(slotOf(&ITranslationService::loadTranslations), 8u);
    EXPECT_EQ(slotOf(&ICommandRegistry::addCommand), 3u);
    EXPECT_EQ(slotOf(&ICommandRegistry::removeCommands), 4u);
    EXPECT_EQ(slotOf(&IActionHandlerRegistry::addActionHandler), 5u);
    EXPECT_EQ(slotOf(&IActionHandlerRegistry::removeActionHandler), 6u);
    EXPECT_EQ(slotOf(&IProjectAccess::getProject), 5u);
    EXPECT_EQ(slotOf(&IProjectAccess::addProjectListener), 6u);
    EXPECT_EQ(slotOf(&IProjectAccess::removeProjectListener), 7u);
    EXPECT_EQ(slotOf(&ISelectionService::getContext), 3u);
    EXPECT_EQ(slotOf(&ISelectionService::refresh), 5u);
    EXPECT_EQ(slotOf(&ISelectionService::getCount), 6u);
    EXPECT_EQ(slotOf(&ISelectionService::getAt), 7u);
    EXPECT_EQ(slotOf(&IProjectEdit::beginEdit), 3u);
    EXPECT_EQ(slotOf(&IProjectEdit::endEdit), 4u);
    EXPECT_EQ(slotOf(&IProjectEdit::insert), 5u);
    EXPECT_EQ(slotOf(&IAudioEvent::getClip), 3u);
    EXPECT_EQ(slotOf(&IAudioEvent::getDescription), 5u);
    EXPECT_EQ(slotOf(&IMediaAttributeService::getMediaInfo), 3u);
    EXPECT_EQ(slotOf(&IMediaAttributeService::getAttribute), 4u);
}

TEST(BinaryContractTest, ProjectAndObjectSlots) {
    EXPECT_EQ(slotOf(&IHostProject::getActiveMarkerTrack), 12u);
    EXPECT_EQ(slotOf(&IHostProject::getNode), 16u);
    EXPECT_EQ(slotOf(&IHostProject::createTrack), 17u);
    EXPECT_EQ(slotOf(&IHostProject::addStorageNotification), 19u);
    EXPECT_EQ(slotOf(&IHostProject::removeStorageNotification), 20u);
    EXPECT_EQ(slotOf(&IProjectHierarchy::getNode), 16u);
    EXPECT_EQ(slotOf(&IHostObject::isType), 3u);
    EXPECT_EQ(slotOf(&IHostObject::setAttribute), 6u);
    EXPECT_EQ(slotOf(&IHostObject::getAttribute), 7u);
    EXPECT_EQ(slotOf(&IHostObject::getName), 10u);
    EXPECT_EQ(slotOf(&IHostObject::setName), 11u);
    EXPECT_EQ(slotOf(&IHostObject::setSelected), 13u);
    EXPECT_EQ(slotOf(&IHostObject::getStart), 20u);
    EXPECT_EQ(slotOf(&IHostObject::setStart), 21u);
    EXPECT_EQ(slotOf(&IHostObject::setLength), 23u);
    EXPECT_EQ(slotOf(&IHostObject::getEnd), 24u);
    EXPECT_EQ(slotOf(&IHostObject::getParent), 29u);
    EXPECT_EQ(slotOf(&IHostTrack::getParent), 29u);
    EXPECT_EQ(slotOf(&IHierarchyNode::getParentNode), 4u);
    EXPECT_EQ(slotOf(&IHierarchyNode::getObject), 5u);
}

TEST(BinaryContractTest, ParameterAndMenuSlots) {
    EXPECT_EQ(slotOf(&IHostParameter::getValue), 5u);
    EXPECT_EQ(slotOf(&IHostParameter::setOn), 6u);
    EXPECT_EQ(slotOf(&IHostParameter::connect), 9u);
    EXPECT_EQ(slotOf(&IHostParameter::getTag), 11u);
    EXPECT_EQ(slotOf(&IHostParameter::setEnabled), 13u);
    EXPECT_EQ(slotOf(&IHostParameter::setText), 18u);
    EXPECT_EQ(slotOf(&IHostParameter::setValue), 19u);
    EXPECT_EQ(slotOf(&IHostParameter::setMinimum), 20u);
    EXPECT_EQ(slotOf(&IHostParameter::setMaximum), 21u);
    EXPECT_EQ(slotOf(&IParameterValue::getValue), 5u);
    EXPECT_EQ(slotOf(&IParameterValue::getText), 17u);
    EXPECT_EQ(slotOf(&IParameterDisplay::setDisplayValue), 32u);
    EXPECT_EQ(slotOf(&IParameterDisplay::setDisplayFlag), 35u);
    // addString's slot is not fixed by the host's published operations; it precedes setStrings.
    EXPECT_EQ(slotOf(&IStringListParameter::addString), 3u);
    EXPECT_EQ(slotOf(&IStringListParameter::setStrings), 4u);
    EXPECT_EQ(slotOf(&IMenuAccess::getMenu), 5u);
    EXPECT_EQ(slotOf(&IMenuAccess::menuChanged), 6u);
    EXPECT_EQ(slotOf(&IMenu::insert), 3u);
    EXPECT_EQ(slotOf(&IMenu::removeAll), 6u);
    EXPECT_EQ(slotOf(&IMenu::count), 8u);
    EXPECT_EQ(slotOf(&IMenuItem::setTitle), 5u);
    EXPECT_EQ(slotOf(&IMenuItem::setEnabled), 8u);
    EXPECT_EQ(slotOf(&IMenuItem::setTag), 10u);
    EXPECT_EQ(slotOf(&ISubMenu::insert), 3u);
    EXPECT_EQ(slotOf(&ISubMenu::count), 8u);
}

struct IdCase {
    const char* name;
    Guid id;
    const char* text;
};

TEST(BinaryContractTest, InterfaceAndClassIdsMatchTheirTextForms) {
    const IdCase cases[] = {
        {"FUnknown", FUnknown::iid, "{00000000-0000-0000-C000-000000000046}"},
        {"IDependent", IDependent::iid, "{F52B7AAE-DE72-416D-8AF1-8ACE9DD7BD5E}"},
        {"IPluginBase", IPluginBase::iid, "{22888DDB-156E-45AE-8358-B34808190625}"},
        {"IActionHandler", IActionHandler::iid, "{9FC17BEB-3A51-4077-A25A-7726D3D3D711}"},
        {"IPlugDevice", IPlugDevice::iid, "{6548D671-997A-4EA5-9B33-6A6FB3E93B50}"},
        {"IProjectStorageNotification", IProjectStorageNotification::iid,
         "{D361D332-604A-4DF7-83B1-7B91A35184DB}"},
        {"IProjectNotification2", IProjectNotification2::iid,
         "{7A43C28E-BAC2-48D1-B72D-1AA220FEBF10}"},
        {"IPlugController", IPlugController::iid, "{0466B781-A086-11D5-BECC-00A0C9A636BC}"},
        {"IPlugController3", IPlugController3::iid, "{E9E38A1D-BFA8-4FBF-A35B-5F00907B66E1}"},
        {"IViewBuilder", IViewBuilder::iid, "{53D29FE8-ED00-400B-9E6D-4DD80444B116}"},
        {"IOptionMenuCallback", IOptionMenuCallback::iid, "{DC8940C5-A4BF-4BED-9449-853684332A88}"},
        {"IStringResult", IStringResult::iid, "{550798BC-8720-49DB-8492-0A153B50B7A8}"},
        {"IString", IString::iid, "{F99DB7A3-0FC1-4821-800B-0CF98E348EDF}"},
        {"IPluginFactory", IPluginFactory::iid, "{7A4D811C-5211-4A1F-AED9-D2EE0B43BF9F}"},
        {"IPluginFactory2", IPluginFactory2::iid, "{0007B650-F24B-4C0B-A464-EDB9F00B2ABB}"},
        {"IPluginFactory3", IPluginFactory3::iid, "{4555A2AB-C123-4E57-9B12-291036878931}"},
        {"IHostObjectProvider", IHostObjectProvider::iid, "{EEC89683-80DB-4336-9177-273E138A763B}"},
        {"IDialogService", IDialogService::iid, "{6E44B1B2-7DA5-461E-AF02-BA736F97819A}"},
        {"ITranslationService", ITranslationService::iid, "{43634416-41C1-4C3B-8559-3DE8AA53E652}"},
        {"ITranslationService (second id)", ITranslationService::alternativeIid,
         "{ACA41C61-EEA9-4EFE-9C61-A09FFC185D47}"},
        {"ICommandRegistry", ICommandRegistry::iid, "{A42A9119-161E-4547-98A2-6FB769140E24}"},
        {"IActionHandlerRegistry", IActionHandlerRegistry::iid,
         "{762F3F61-11D1-4115-92F9-7AC6F239460F}"},
        {"IProjectAccess", IProjectAccess::iid, "{3D7C2813-8ABF-4AAE-A23A-11BF37214C36}"},
        {"IProjectHierarchy", IProjectHierarchy::iid, "{5354D6AC-C0D4-4532-B1BD-A33E229B9F3D}"},
        {"IHostObject", IHostObject::iid, "{7A6F999F-BDBC-4BCC-AC40-3DABACE8A171}"},
        {"ISelectionService", ISelectionService::iid, "{05B21566-9B33-4363-AF1E-7C4B52D99238}"},
        {"IProjectEdit", IProjectEdit::iid, "{3F322518-90F4-462A-B9E9-535C454C265E}"},
        {"IHostContainer", IHostContainer::iid, "{506DDF3C-719D-4A51-838C-6843002C2BEC}"},
        {"IHostTrack", IHostTrack::iid, "{E9C743A1-6C48-4AFA-99BC-24C081225239}"},
        {"IAudioEvent", IAudioEvent::iid, "{31AFE552-A834-51D6-FE9B-6AB6FE41017A}"},
        {"IMediaSource", IMediaSource::iid, "{E34A31B4-ADCB-40BC-BCE6-4393CFBF48BF}"},
        {"IMediaAttributeService", IMediaAttributeService::iid,
         "{188B1B0C-8D96-DF4E-A98D-97C0A9998C6E}"},
        {"IParameterValue", IParameterValue::iid, "{2E61B9C2-AB2F-47C9-9CFB-458BDB6E4E1F}"},
        {"IParameterDisplay", IParameterDisplay::iid, "{F9EAE1EF-6373-4416-8560-41B38BF8BB15}"},
        {"IStringListParameter", IStringListParameter::iid,
         "{D96D547F-A0C4-4C71-B629-32490B911ACD}"},
        {"IMenuAccess", IMenuAccess::iid, "{26288B25-9C39-43DA-9C4C-A12DB682160E}"},
        {"IMenuItem", IMenuItem::iid, "{622E9493-0065-41F6-B1DF-3CC22293CCE6}"},
        {"ISubMenu", ISubMenu::iid, "{12EF0904-61EE-43BC-81EF-D6283544BCB1}"},
        {"position marker class", HostClass::kPositionMarker,
         "{0499AB46-4C5F-463D-9BAF-00E704B52D35}"},
        {"cycle marker class", HostClass::kCycleMarker, "{B52FC642-AA6F-4D32-AFA2-7CE272C1F81B}"},
        {"MenuParameter class", HostClass::kMenuParameter,
         "{712A8053-D733-4FEE-B1A3-5CBDC17D0532}"},
        {"toggle parameter class", HostClass::kToggleParameter,
         "{D2D767F5-A3B7-4B44-8A8A-83FD04C1B489}"},
        {"integer parameter class", HostClass::kIntegerParameter,
         "{037B1E33-F364-4539-92F2-09B82602C80B}"},
        {"text parameter class", HostClass::kTextParameter,
         "{96512EB9-2DE8-4960-B268-4A131CF7C5F8}"},
        {"string list parameter class", HostClass::kStringListParameter,
         "{5730772A-32DA-4950-BD57-EC7C821EDC4E}"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Testing::bytesOf(c.id), Testing::storedBytes(c.text)) << c.name;
}

TEST(BinaryContractTest, TheServiceClassIdIsStoredAsDocumented) {
    const std::array<std::uint8_t, 16> documented = {0x7E, 0x2B, 0x1A, 0xD0, 0xC5, 0x4E,
                                                     0xEC, 0x11, 0xBA, 0x6C, 0x54, 0x14,
                                                     0xF3, 0x76, 0xBF, 0xAA};
    EXPECT_EQ(Testing::storedBytes("{D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA}"), documented);
    EXPECT_EQ(Testing::bytesOf(Guid::fromText("{D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA}")),
              documented);
}

TEST(BinaryContractTest, RecordLayouts) {
    EXPECT_EQ(sizeof(FactoryInfo), 452u);
    EXPECT_EQ(offsetof(FactoryInfo, vendor), 0u);
    EXPECT_EQ(offsetof(FactoryInfo, url), 64u);
    EXPECT_EQ(offsetof(FactoryInfo, email), 320u);
    EXPECT_EQ(offsetof(FactoryInfo, flags), 448u);

    EXPECT_EQ(sizeof(ClassInfo), 116u);
    EXPECT_EQ(offsetof(ClassInfo, cardinality), 16u);
    EXPECT_EQ(offsetof(ClassInfo, category), 20u);
    EXPECT_EQ(offsetof(ClassInfo, name), 52u);

    EXPECT_EQ(sizeof(ClassInfo2), 440u);
    EXPECT_EQ(offsetof(ClassInfo2, classFlags), 116u);
    EXPECT_EQ(offsetof(ClassInfo2, subCategories), 120u);
    EXPECT_EQ(offsetof(ClassInfo2, vendor), 248u);
    EXPECT_EQ(offsetof(ClassInfo2, version), 312u);
    EXPECT_EQ(offsetof(ClassInfo2, sdkVersion), 376u);

    EXPECT_EQ(sizeof(ClassInfoUnicode), 696u);
    EXPECT_EQ(offsetof(ClassInfoUnicode, category), 20u);
    EXPECT_EQ(offsetof(ClassInfoUnicode, name), 52u);
    EXPECT_EQ(offsetof(ClassInfoUnicode, classFlags), 180u);
    EXPECT_EQ(offsetof(ClassInfoUnicode, subCategories), 184u);
    EXPECT_EQ(offsetof(ClassInfoUnicode, vendor), 312u);
    EXPECT_EQ(offsetof(ClassInfoUnicode, version), 440u);
    EXPECT_EQ(offsetof(ClassInfoUnicode, sdkVersion), 568u);

    EXPECT_EQ(sizeof(FTaggedValue), 16u);
    EXPECT_EQ(offsetof(FTaggedValue, type), 0u);
    EXPECT_EQ(offsetof(FTaggedValue, integer), 8u);
    EXPECT_EQ(sizeof(Guid), 16u);
}

TEST(BinaryContractTest, ResultCodes) {
    EXPECT_EQ(ResultOk, 0);
    EXPECT_EQ(ResultFalse, 1);
    EXPECT_EQ(static_cast<std::uint32_t>(ResultNoInterface), 0x80004002u);
    EXPECT_EQ(static_cast<std::uint32_t>(ResultInvalidArgument), 0x80070057u);
    EXPECT_EQ(static_cast<std::uint32_t>(ResultNotImplemented), 0x80004001u);
    EXPECT_EQ(sizeof(ResultCode), 4u);
}
