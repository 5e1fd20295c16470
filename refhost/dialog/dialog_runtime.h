#pragma once

#include "host/plug_controller.h"
#include "module/owned.h"
#include "refhost/core/host_behaviours.h"
#include "refhost/dialog/skin_document.h"
#include "refhost/dialog/view_node.h"

#include <memory>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

class HostEnvironment;
class TranslationService;

/// A modal dialog rendered from a skin, as a workstation renders it.
///
/// open() instantiates a template with its controller: every named control is bound with the
/// controller's getParameter; `view` elements are expanded through the controller's
/// IViewBuilder (which asks back with buildTemplateView) or else by the template of that name;
/// `controller` elements resolve a sub-controller with getSubController; `for` elements repeat
/// their content over a range; a `dependentcontentview` is built from its template and rebuilt
/// by idle() once its parameter has changed. An `exclusive-group-legacy` shows the child its
/// parameter's value selects. The runtime holds a reference on every controller its views use
/// and gives them back when the views go.
///
/// What a real host would show as a broken dialog (a control whose name the controller does
/// not know, a template the skin lacks, a symbol without an atlas section) is recorded as a
/// problem of the run rather than ignored.
///
/// The runtime behaves as the environment's host behaviours say (HostBehaviours): it rebuilds
/// dependent views at every idle, only when the user pauses, or at once inside the change.
///
/// Host thread only. The skin and the translation service outlive the runtime.
class DialogRuntime {
public:
    DialogRuntime(const SkinDocument& skin, HostEnvironment& environment,
                  TranslationService& translation);
    DialogRuntime(const DialogRuntime&) = delete;
    DialogRuntime& operator=(const DialogRuntime&) = delete;
    ~DialogRuntime();

    /// Builds the named template with the controller (borrowed; the runtime takes its own
    /// reference). False, with a problem recorded, when the skin has no such template.
    bool open(std::string_view templateName, IPlugController* controller);
    /// The host's buildTemplateView: while a view is being expanded through a view builder,
    /// builds the named template into it with the given controller.
    void buildTemplateView(std::string_view templateName, IPlugController* controller);
    /// What a host does on its next idle after a user action: rebuilds every dependent view
    /// whose parameter changed since it was built. Old views, and the references they hold,
    /// go only now, so a controller that removed itself is never called afterwards. A host that
    /// rebuilds late does so only when the user pauses: after a drawn number of actions, or,
    /// without a seed, only at pause().
    void idle();
    /// The user pauses: every dependent view whose parameter changed is rebuilt now.
    void pause();
    /// Whether a dependent view shows an older build than its parameter asks for.
    bool rebuildPending() const;
    /// Whether the host reports the push switch press now being made twice (the double-click
    /// behaviour).
    bool reportsPressTwice();
    /// Calls the IOptionMenuCallback of the control's controller, as before a menu is shown.
    void updateMenu(const ViewNode& control);

    /// Ends the dialog with this result (0 confirms).
    void close(ResultCode result) noexcept { result_ = result; }
    bool closed() const noexcept { return result_.has_value(); }
    /// The result the dialog closed with; ResultFalse while it is open.
    ResultCode result() const noexcept { return result_.value_or(ResultFalse); }

    /// The dialog's root view; null before open() succeeded.
    const ViewNode* root() const noexcept { return root_.get(); }
    /// The children of a view that the dialog shows: all of them, except for an exclusive group,
    /// which shows only the child its parameter's value selects (none when out of range).
    static std::span<const std::unique_ptr<ViewNode>> visibleChildren(const ViewNode& node);
    const std::vector<std::string>& problems() const noexcept { return problems_; }
    /// An English skin text as the dialog shows it, in the host's language (UTF-8).
    std::string translate(std::string_view english) const;
    const SkinDocument& skin() const noexcept { return skin_; }

private:
    void buildChildren(const SkinElement& element, ViewNode& parent, const BuildContext& context);
    void buildElement(const SkinElement& element, ViewNode& parent, const BuildContext& context);
    void buildTemplate(std::string_view name, ViewNode& into, BuildContext context,
                       const SkinElement& from);
    void expandView(ViewNode& node);
    void resolveController(ViewNode& node);
    void repeat(const SkinElement& element, ViewNode& parent, const BuildContext& context);
    void bind(ViewNode& node, bool required);
    void addButtons(const SkinElement& dialogTemplate, ViewNode& root);
    void rebuild();
    bool rebuildChanged(ViewNode& node);
    void watch(HostParameter& parameter);
    void problem(const SkinElement* element, const BuildContext& context, std::string text);

    const SkinDocument& skin_;
    HostEnvironment& environment_;
    TranslationService& translation_;
    Owned<IPlugController> controller_;
    std::unique_ptr<ViewNode> root_;
    // The view that a view builder is expanding; buildTemplateView builds into it.
    ViewNode* expanding_ = nullptr;
    std::optional<ResultCode> result_;
    std::vector<std::string> problems_;
    HostBehaviours behaviours_;
    std::mt19937_64 random_;
    // Actions left until the user pauses, under the late-rebuild behaviour with a seed.
    int actionsUntilPause_ = 0;
    // Set while views are built, so that a rebuild at once never runs inside another build.
    bool building_ = false;
    // The parameters watched for the immediate-rebuild behaviour; their watchers go with the
    // runtime.
    std::vector<HostParameter*> watched_;
};

} // namespace Brennovar::RefHost
