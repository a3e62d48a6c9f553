// A GTK module that drives the real printer-setup program for the end-to-end tests and the demo:
// GTK loads it into the program at start (GTK_MODULES), and it works through the steps named in
// ORV_SETUP_DRIVE, one at a time once the main window shows, as a user would with the mouse:
//
//   rows=FILE     the printer list's rows, one a line, written to FILE
//   select=NAME   the row NAME of the printer list chosen
//   defaults      "Restore Defaults" clicked
//   shot=FILE     a PNG picture of the main window written to FILE
//   tab=TEXT      in the open dialog (else the main window), the notebook page whose tab reads
//                 TEXT brought to the front
//   click=TEXT    the button or check button showing TEXT clicked
//   type=LABEL|TEXT  TEXT pasted, in place of what it held, into the entry that the shown label
//                 LABEL names (its mnemonic target), after giving it the focus
//   ok, cancel    the OK or Cancel button clicked
//   set=LABEL=V   the control that the label showing LABEL names (its mnemonic target): a spin
//                 button gets the value V, a combo box its row with the text V, a check box is
//                 clicked when its state is not V ("on" or "off")
//   wait=MS       nothing for MS milliseconds
//   choose=LABEL|ROW  in the combo box that the label LABEL (as shown) names, the row ROW chosen
//   layout=N      the N-th picture toggle button of the main window (from 0) clicked; it may open
//                 a dialog, which the next steps drive
//   dialog-toggle=N   the N-th toggle button of the open dialog clicked
//   dialog-ok, dialog-cancel  the open dialog's OK or Cancel button clicked
//   open=TEXT     the button whose label reads TEXT clicked once this step has ended, so that a
//                 dialog it opens runs while the next steps act on it
//   pick=TEXT     in the open dialog (else the main window), the combo row reading TEXT chosen
//   spin=TEXT:N   in the open dialog (else the main window), the spin button that the label
//                 reading TEXT names set to N
//
// and, in the newest open dialog (the main window when none is open):
//
//   dlg-click=TEXT  the button with that text or stock id clicked (after the step, so that a
//                 dialog it opens runs while the steps go on)
//   dlg-entry=TEXT  the text of its first text entry that is no spin button
//   dlg-spin=N:VALUE  the value of its N-th spin button (from 0, from the top)
//   dlg-radio=TEXT  the radio button with that text chosen
//   dlgshot=FILE  a PNG picture of the dialog written to FILE
//   combos=FILE   the rows of every combo box of the main window, one a line, written to FILE
//
// Steps are separated by ";". Every message box the program shows is answered with its default
// button, and its text appended to the file ORV_SETUP_DRIVE_LOG when that is set. A window still
// open two seconds after the last step ends the program with status 3.
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::deque<std::string> g_steps;
gint64 g_waitUntil = 0;
bool g_lastStepDone = false;

void Log(const std::string& line)
{
    if (const char* path = std::getenv("ORV_SETUP_DRIVE_LOG")) {
        std::ofstream(path, std::ios::app) << line << "\n";
    }
}

GtkWidget* FindWidget(GtkWidget* widget, bool (*match)(GtkWidget*, const char*), const char* arg)
{
    if (match(widget, arg)) {
        return widget;
    }
    if (!GTK_IS_CONTAINER(widget)) {
        return nullptr;
    }
    GtkWidget* found = nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* it = children; it != nullptr && found == nullptr; it = it->next) {
        found = FindWidget(GTK_WIDGET(it->data), match, arg);
    }
    g_list_free(children);
    return found;
}

bool IsTreeView(GtkWidget* widget, const char*)
{
    return GTK_IS_TREE_VIEW(widget);
}

bool IsLabelText(GtkWidget* widget, const char* text)
{
    return GTK_IS_LABEL(widget) && std::strcmp(gtk_label_get_text(GTK_LABEL(widget)), text) == 0;
}

// A button by its stock id ("gtk-ok") or by the text of a label inside it.
bool IsButton(GtkWidget* widget, const char* name)
{
    if (!GTK_IS_BUTTON(widget)) {
        return false;
    }
    const char* label = gtk_button_get_label(GTK_BUTTON(widget));
    if (label != nullptr && std::strcmp(label, name) == 0) {
        return true;
    }
    return FindWidget(widget, IsLabelText, name) != nullptr;
}

GtkWidget* MainWindow()
{
    GtkWidget* main = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* it = windows; it != nullptr; it = it->next) {
        GtkWidget* window = GTK_WIDGET(it->data);
        if (GTK_IS_DIALOG(window) && GTK_WIDGET_VISIBLE(window)) {
            // A message box: answered with its default button.
            if (GTK_IS_MESSAGE_DIALOG(window)) {
                gchar* text = nullptr;
                g_object_get(window, "text", &text, NULL);
                Log(std::string("message: ") + (text != nullptr ? text : ""));
                g_free(text);
                gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_DELETE_EVENT);
            }
            continue;
        }
        if (GTK_WIDGET_VISIBLE(window) && gtk_window_get_window_type(GTK_WINDOW(window)) == GTK_WINDOW_TOPLEVEL &&
            FindWidget(window, IsTreeView, nullptr) != nullptr) {
            main = window;
        }
    }
    g_list_free(windows);
    return main;
}

void WriteRows(GtkTreeView* view, const std::string& path)
{
    std::ofstream out(path);
    GtkTreeModel* model = gtk_tree_view_get_model(view);
    GtkTreeIter iter;
    for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok; ok = gtk_tree_model_iter_next(model, &iter)) {
        gchar* text = nullptr;
        gtk_tree_model_get(model, &iter, 1, &text, -1);  // the text column
        out << (text != nullptr ? text : "") << "\n";
        g_free(text);
    }
}

bool SelectRow(GtkTreeView* view, const std::string& name)
{
    GtkTreeModel* model = gtk_tree_view_get_model(view);
    GtkTreeIter iter;
    for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok; ok = gtk_tree_model_iter_next(model, &iter)) {
        gchar* text = nullptr;
        gtk_tree_model_get(model, &iter, 1, &text, -1);
        const bool hit = text != nullptr && name == text;
        g_free(text);
        if (hit) {
            GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
            gtk_tree_view_set_cursor(view, path, nullptr, FALSE);
            gtk_tree_path_free(path);
            return true;
        }
    }
    return false;
}

bool Screenshot(GtkWidget* window, const std::string& path)
{
    gdk_window_process_all_updates();
    gint width = 0;
    gint height = 0;
    gdk_drawable_get_size(window->window, &width, &height);
    GdkPixbuf* shot = gdk_pixbuf_get_from_drawable(nullptr, window->window, nullptr, 0, 0, 0, 0, width, height);
    if (shot == nullptr) {
        return false;
    }
    const gboolean saved = gdk_pixbuf_save(shot, path.c_str(), "png", nullptr, NULL);
    g_object_unref(shot);
    return saved != FALSE;
}

// A label that is shown (mapped) with exactly this text.
bool IsShownLabelText(GtkWidget* widget, const char* text)
{
    return IsLabelText(widget, text) && GTK_WIDGET_MAPPED(widget);
}

bool IsNotebook(GtkWidget* widget, const char*)
{
    return GTK_IS_NOTEBOOK(widget);
}

bool ShowTab(GtkWidget* window, const std::string& text)
{
    GtkWidget* notebook = FindWidget(window, IsNotebook, nullptr);
    for (int i = 0; notebook != nullptr && i < gtk_notebook_get_n_pages(GTK_NOTEBOOK(notebook)); ++i) {
        GtkWidget* page = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), i);
        const char* tab = gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(notebook), page);
        GtkWidget* label = gtk_notebook_get_tab_label(GTK_NOTEBOOK(notebook), page);
        if ((tab != nullptr && text == tab) ||
            (label != nullptr && GTK_IS_LABEL(label) && text == gtk_label_get_text(GTK_LABEL(label)))) {
            gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), i);
            return true;
        }
    }
    return false;
}

bool SelectComboRow(GtkComboBox* combo, const std::string& text)
{
    GtkTreeModel* model = gtk_combo_box_get_model(combo);
    GtkTreeIter iter;
    int row = 0;
    for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok; ok = gtk_tree_model_iter_next(model, &iter)) {
        gchar* rowText = nullptr;
        gtk_tree_model_get(model, &iter, 1, &rowText, -1);  // the text column
        const bool hit = rowText != nullptr && text == rowText;
        g_free(rowText);
        if (hit) {
            gtk_combo_box_set_active(combo, row);
            return true;
        }
        ++row;
    }
    return false;
}

// The control named by a label, set as a user would; false when there is no such label or the
// value does not fit the control.
bool SetControl(GtkWidget* window, const std::string& labelText, const std::string& value)
{
    GtkWidget* label = FindWidget(window, IsLabelText, labelText.c_str());
    GtkWidget* target = label != nullptr ? gtk_label_get_mnemonic_widget(GTK_LABEL(label)) : nullptr;
    if (target == nullptr) {
        return false;
    }
    if (GTK_IS_SPIN_BUTTON(target)) {
        gtk_spin_button_set_value(GTK_SPIN_BUTTON(target), std::atof(value.c_str()));
        return true;
    }
    if (GTK_IS_COMBO_BOX(target)) {
        return SelectComboRow(GTK_COMBO_BOX(target), value);
    }
    if (GTK_IS_TOGGLE_BUTTON(target) && (value == "on" || value == "off")) {
        if ((gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(target)) != 0) != (value == "on")) {
            gtk_button_clicked(GTK_BUTTON(target));
        }
        return true;
    }
    return false;
}

bool TypeInto(GtkWidget* window, const std::string& label, const std::string& text)
{
    GtkWidget* found = FindWidget(window, IsShownLabelText, label.c_str());
    GtkWidget* entry = found != nullptr ? gtk_label_get_mnemonic_widget(GTK_LABEL(found)) : nullptr;
    if (entry == nullptr || !GTK_IS_EDITABLE(entry)) {
        return false;
    }
    gtk_widget_grab_focus(entry);
    gtk_editable_delete_text(GTK_EDITABLE(entry), 0, -1);
    gint position = 0;
    gtk_editable_insert_text(GTK_EDITABLE(entry), text.c_str(), static_cast<gint>(text.size()), &position);
    return true;
}

// A combo box with a row reading the text; the row is chosen.
bool IsComboWithRowChosen(GtkWidget* widget, const char* text)
{
    return GTK_IS_COMBO_BOX(widget) && SelectComboRow(GTK_COMBO_BOX(widget), text);
}

bool SetSpin(GtkWidget* window, const std::string& arg)
{
    const size_t colon = arg.rfind(':');
    if (colon == std::string::npos) {
        return false;
    }
    GtkWidget* label = FindWidget(window, IsLabelText, arg.substr(0, colon).c_str());
    GtkWidget* target = label != nullptr ? gtk_label_get_mnemonic_widget(GTK_LABEL(label)) : nullptr;
    if (target == nullptr || !GTK_IS_SPIN_BUTTON(target)) {
        return false;
    }
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(target), std::atof(arg.c_str() + colon + 1));
    return true;
}

void Click(GtkWidget* window, const char* name)
{
    GtkWidget* button = FindWidget(window, IsButton, name);
    Log(std::string("click ") + name + (button != nullptr ? "" : " (not found)"));
    if (button != nullptr) {
        gtk_button_clicked(GTK_BUTTON(button));
    }
}

bool IsLabelWithMnemonic(GtkWidget* widget, const char* text)
{
    return IsLabelText(widget, text) && gtk_label_get_mnemonic_widget(GTK_LABEL(widget)) != nullptr;
}

// The row with the text chosen in the combo box that the label names.
bool ChooseRow(GtkWidget* window, const std::string& arg)
{
    const size_t bar = arg.find('|');
    if (bar == std::string::npos) {
        return false;
    }
    GtkWidget* label = FindWidget(window, IsLabelWithMnemonic, arg.substr(0, bar).c_str());
    GtkWidget* combo = label != nullptr ? gtk_label_get_mnemonic_widget(GTK_LABEL(label)) : nullptr;
    if (combo == nullptr || !GTK_IS_COMBO_BOX(combo)) {
        return false;
    }
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
    GtkTreeIter iter;
    int row = 0;
    for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok; ok = gtk_tree_model_iter_next(model, &iter)) {
        gchar* text = nullptr;
        gtk_tree_model_get(model, &iter, 1, &text, -1);  // the text column
        const bool hit = text != nullptr && arg.substr(bar + 1) == text;
        g_free(text);
        if (hit) {
            gtk_combo_box_set_active(GTK_COMBO_BOX(combo), row);
            return true;
        }
        ++row;
    }
    return false;
}

// The N-th toggle button (not a check box) below the widget, in tree order.
GtkWidget* NthToggle(GtkWidget* widget, int* remaining)
{
    if (GTK_IS_TOGGLE_BUTTON(widget) && !GTK_IS_CHECK_BUTTON(widget) && (*remaining)-- == 0) {
        return widget;
    }
    if (!GTK_IS_CONTAINER(widget)) {
        return nullptr;
    }
    GtkWidget* found = nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* it = children; it != nullptr && found == nullptr; it = it->next) {
        found = NthToggle(GTK_WIDGET(it->data), remaining);
    }
    g_list_free(children);
    return found;
}

// The layout dialog that is open (a dialog that is no message box), NULL when none.
GtkWidget* OpenDialog()
{
    GtkWidget* dialog = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* it = windows; it != nullptr; it = it->next) {
        GtkWidget* window = GTK_WIDGET(it->data);
        if (GTK_IS_DIALOG(window) && !GTK_IS_MESSAGE_DIALOG(window) && GTK_WIDGET_VISIBLE(window)) {
            dialog = window;
        }
    }
    g_list_free(windows);
    return dialog;
}

// A click that may open a modal dialog runs from an idle callback of its own, so that these steps
// go on inside the dialog's loop.
gboolean ClickLater(gpointer button)
{
    gtk_button_clicked(GTK_BUTTON(button));
    g_object_unref(button);
    return FALSE;
}

void ClickToggle(GtkWidget* root, const std::string& what, int index)
{
    int remaining = index;
    GtkWidget* toggle = root != nullptr ? NthToggle(root, &remaining) : nullptr;
    Log(what + " " + std::to_string(index) + (toggle != nullptr ? "" : " (not found)"));
    if (toggle != nullptr) {
        g_idle_add(&ClickLater, g_object_ref(toggle));
    }
}

// The newest dialog: a shown dialog that is no message box and for which no other shown dialog
// is open (the dialogs a dialog opens are transient for it).
GtkWidget* NewestDialog()
{
    std::vector<GtkWidget*> dialogs;
    GList* windows = gtk_window_list_toplevels();
    for (GList* it = windows; it != nullptr; it = it->next) {
        GtkWidget* window = GTK_WIDGET(it->data);
        if (GTK_IS_DIALOG(window) && !GTK_IS_MESSAGE_DIALOG(window) && GTK_WIDGET_VISIBLE(window)) {
            dialogs.push_back(window);
        }
    }
    g_list_free(windows);
    for (GtkWidget* dialog : dialogs) {
        bool parent = false;
        for (GtkWidget* other : dialogs) {
            parent = parent || gtk_window_get_transient_for(GTK_WINDOW(other)) == GTK_WINDOW(dialog);
        }
        if (!parent) {
            return dialog;
        }
    }
    return nullptr;
}

void CollectOfType(GtkWidget* widget, GType type, std::vector<GtkWidget*>* found)
{
    if (G_TYPE_CHECK_INSTANCE_TYPE(widget, type)) {
        found->push_back(widget);
    }
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* it = children; it != nullptr; it = it->next) {
            CollectOfType(GTK_WIDGET(it->data), type, found);
        }
        g_list_free(children);
    }
}

void WriteComboRows(GtkWidget* window, const std::string& path)
{
    std::ofstream out(path);
    std::vector<GtkWidget*> combos;
    CollectOfType(window, GTK_TYPE_COMBO_BOX, &combos);
    for (GtkWidget* combo : combos) {
        GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
        GtkTreeIter iter;
        for (gboolean ok = model != nullptr && gtk_tree_model_get_iter_first(model, &iter); ok;
             ok = gtk_tree_model_iter_next(model, &iter)) {
            gchar* text = nullptr;
            gtk_tree_model_get(model, &iter, 1, &text, -1);  // the text column
            out << (text != nullptr ? text : "") << "\n";
            g_free(text);
        }
    }
}

// The dialog steps; false for a step that is none of them.
bool DialogStep(GtkWidget* mainWindow, const std::string& verb, const std::string& arg)
{
    GtkWidget* dialog = NewestDialog();
    GtkWidget* target = dialog != nullptr ? dialog : mainWindow;
    if (verb == "dlg-click") {
        GtkWidget* button = FindWidget(target, IsButton, arg.c_str());
        Log("click " + arg + (button != nullptr ? "" : " (not found)"));
        if (button != nullptr) {
            g_idle_add(&ClickLater, g_object_ref(button));
        }
    } else if (verb == "dlg-entry" || verb == "dlg-spin") {
        std::vector<GtkWidget*> entries;
        CollectOfType(target, GTK_TYPE_ENTRY, &entries);
        std::vector<GtkWidget*> spins;
        std::vector<GtkWidget*> texts;
        for (GtkWidget* entry : entries) {
            (GTK_IS_SPIN_BUTTON(entry) ? spins : texts).push_back(entry);
        }
        // Counted as a user sees them, from the top (tables list their children last first).
        std::stable_sort(spins.begin(), spins.end(), [](GtkWidget* a, GtkWidget* b) {
            return a->allocation.y != b->allocation.y ? a->allocation.y < b->allocation.y
                                                      : a->allocation.x < b->allocation.x;
        });
        if (verb == "dlg-entry" && !texts.empty()) {
            gtk_entry_set_text(GTK_ENTRY(texts[0]), arg.c_str());
            Log("entry " + arg);
        } else if (verb == "dlg-spin" && arg.find(':') != std::string::npos &&
                   std::strtoul(arg.c_str(), nullptr, 10) < spins.size()) {
            GtkWidget* spin = spins[std::strtoul(arg.c_str(), nullptr, 10)];
            gtk_spin_button_set_value(GTK_SPIN_BUTTON(spin), g_ascii_strtod(arg.c_str() + arg.find(':') + 1, nullptr));
            Log("spin " + arg + " shows " + gtk_entry_get_text(GTK_ENTRY(spin)));
        } else {
            Log(verb + " " + arg + " (not found)");
        }
    } else if (verb == "dlg-radio") {
        GtkWidget* radio = FindWidget(target, IsButton, arg.c_str());
        Log("radio " + arg + (radio != nullptr && GTK_IS_RADIO_BUTTON(radio) ? "" : " (not found)"));
        if (radio != nullptr && GTK_IS_RADIO_BUTTON(radio)) {
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(radio), TRUE);
        }
    } else if (verb == "dlgshot") {
        Log("dlgshot " + arg + (dialog != nullptr && Screenshot(dialog, arg) ? "" : " (failed)"));
    } else if (verb == "combos") {
        WriteComboRows(mainWindow, arg);
    } else {
        return false;
    }
    return true;
}

gboolean Tick(gpointer)
{
    GtkWidget* window = MainWindow();
    if (window == nullptr || g_get_monotonic_time() < g_waitUntil) {
        return TRUE;
    }
    if (g_steps.empty() && !g_lastStepDone) {
        g_lastStepDone = true;
        g_waitUntil = g_get_monotonic_time() + 2000 * 1000;
        return TRUE;
    }
    if (g_steps.empty()) {
        // Every step is done and the window is still there: the program did not do what the
        // steps asked (a save that failed keeps it open). End it with a status of its own.
        Log("window still open after the last step");
        std::exit(3);
    }
    const std::string step = g_steps.front();
    g_steps.pop_front();
    const size_t eq = step.find('=');
    const std::string verb = step.substr(0, eq);
    const std::string arg = eq == std::string::npos ? std::string() : step.substr(eq + 1);
    GtkTreeView* view = GTK_TREE_VIEW(FindWidget(window, IsTreeView, nullptr));
    if (verb == "rows") {
        WriteRows(view, arg);
    } else if (verb == "select") {
        Log("select " + arg + (SelectRow(view, arg) ? "" : " (no such row)"));
    } else if (verb == "defaults") {
        Click(window, "Restore Defaults");
    } else if (verb == "shot") {
        Log("shot " + arg + (Screenshot(window, arg) ? "" : " (failed)"));
    } else if (verb == "tab") {
        GtkWidget* within = OpenDialog() != nullptr ? OpenDialog() : window;
        Log("tab " + arg + (ShowTab(within, arg) ? "" : " (no such tab)"));
    } else if (verb == "click") {
        Click(window, arg.c_str());
    } else if (verb == "type") {
        const size_t bar = arg.find('|');
        const std::string label = arg.substr(0, bar);
        const std::string text = bar == std::string::npos ? std::string() : arg.substr(bar + 1);
        Log("type into " + label + (TypeInto(window, label, text) ? "" : " (no such entry)"));
    } else if (verb == "ok") {
        Click(window, GTK_STOCK_OK);
    } else if (verb == "cancel") {
        Click(window, GTK_STOCK_CANCEL);
    } else if (verb == "set") {
        const size_t at = arg.find('=');
        const bool done = at != std::string::npos && SetControl(window, arg.substr(0, at), arg.substr(at + 1));
        Log("set " + arg + (done ? "" : " (not done)"));
    } else if (verb == "choose") {
        Log("choose " + arg + (ChooseRow(window, arg) ? "" : " (not found)"));
    } else if (verb == "layout") {
        ClickToggle(window, "layout", std::atoi(arg.c_str()));
    } else if (verb == "dialog-toggle") {
        ClickToggle(OpenDialog(), "dialog toggle", std::atoi(arg.c_str()));
    } else if (verb == "dialog-ok" || verb == "dialog-cancel") {
        GtkWidget* dialog = OpenDialog();
        if (dialog != nullptr) {
            Click(dialog, verb == "dialog-ok" ? GTK_STOCK_OK : GTK_STOCK_CANCEL);
        } else {
            Log(verb + " (no dialog)");
        }
    } else if (verb == "open") {
        GtkWidget* button = FindWidget(window, IsButton, arg.c_str());
        Log("open " + arg + (button != nullptr ? "" : " (not found)"));
        if (button != nullptr) {
            // A dialog's own loop must not run inside this step, or no later step would.
            g_idle_add(&ClickLater, g_object_ref(button));
        }
    } else if (verb == "pick") {
        GtkWidget* within = OpenDialog() != nullptr ? OpenDialog() : window;
        Log("pick " + arg + (FindWidget(within, IsComboWithRowChosen, arg.c_str()) != nullptr ? "" : " (no such row)"));
    } else if (verb == "spin") {
        GtkWidget* within = OpenDialog() != nullptr ? OpenDialog() : window;
        Log("spin " + arg + (SetSpin(within, arg) ? "" : " (no such spin)"));
    } else if (verb == "wait") {
        g_waitUntil = g_get_monotonic_time() + std::atol(arg.c_str()) * 1000;
    } else if (!DialogStep(window, verb, arg)) {
        Log("unknown step " + step);
    }
    // Every step is followed by a pause, so that the program's reaction has run and been drawn.
    if (g_waitUntil < g_get_monotonic_time()) {
        g_waitUntil = g_get_monotonic_time() + 300 * 1000;
    }
    return TRUE;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void gtk_module_init(gint*, gchar***)
{
    const char* drive = std::getenv("ORV_SETUP_DRIVE");
    if (drive == nullptr) {
        return;
    }
    std::string rest = drive;
    for (size_t at; !rest.empty(); rest = at == std::string::npos ? std::string() : rest.substr(at + 1)) {
        at = rest.find(';');
        const std::string step = rest.substr(0, at);
        if (!step.empty()) {
            g_steps.push_back(step);
        }
    }
    g_timeout_add(100, &Tick, nullptr);
}
