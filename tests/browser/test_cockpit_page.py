#!/usr/bin/python3
"""The Cockpit page in a real Cockpit and a real Chromium.

Starts cockpit-ws --local-session=cockpit-bridge on 127.0.0.1 and a free port (as a test user
made for the run when started as root), with the built package in that user's
~/.local/share/cockpit/gomcfg and the built gomcfgctl on its PATH behind a wrapper that counts
its runs, and drives Debian's chromium through chromedriver. Every case checks the bytes of the
settings file. Exits 77 (skipped) when a component is missing.
"""

import argparse
import os
import pwd
import shutil
import signal
import socket
import stat
import subprocess
import sys
import tempfile
import time
import unittest

SKIP = 77
WS = "/usr/lib/cockpit/cockpit-ws"
BRIDGE = "/usr/bin/cockpit-bridge"
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
TABS = ["Weapons", "Gomble Stuff", "Server Options", "Services", "C.T.F.", "About"]

ARGS = None
ENV = None  # the one cockpit-ws, browser and directory the cases share


def missing_components():
    missing = [p for p in (WS, BRIDGE, CHROMIUM, CHROMEDRIVER) if not os.access(p, os.X_OK)]
    try:
        import selenium  # noqa: F401
    except ImportError:
        missing.append("python3-selenium")
    return missing


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def sample_ini():
    with open(os.path.join(ARGS.source, "sample", "GombleTroveII.ini"), "rb") as f:
        return f.read()


class Environment:
    """A user, a data directory with the package, a counting gomcfgctl, cockpit-ws, Chromium."""

    def __init__(self, extra_packages=()):
        self.root = tempfile.mkdtemp(prefix="gomcfg-browser-")
        os.chmod(self.root, 0o755)
        self.user = None
        self.uid = os.getuid()
        self.gid = os.getgid()
        if os.getuid() == 0:
            self.user = f"gomcfgbr{os.getpid() % 100000}"
            subprocess.run(["useradd", "--no-create-home", "--home-dir", self.root + "/home",
                            "--shell", "/usr/sbin/nologin", self.user], check=True)
            entry = pwd.getpwnam(self.user)
            self.uid, self.gid = entry.pw_uid, entry.pw_gid
        self.home = self.root + "/home"
        self.bin = self.root + "/bin"
        self.dir = self.root + "/srv"
        self.count_file = self.root + "/runs"
        for d in (self.home, self.bin, self.dir):
            os.makedirs(d)
        data = self.home + "/.local/share/cockpit"
        os.makedirs(data)
        shutil.copytree(ARGS.package, data + "/gomcfg")
        for package in extra_packages:  # e.g. bench/cockpit-open's floor page
            shutil.copytree(package, data + "/" + os.path.basename(package))
        shutil.copy(ARGS.gomcfgctl, self.bin + "/gomcfgctl.real")
        with open(self.bin + "/gomcfgctl", "w") as f:
            f.write(f'#!/bin/sh\necho "$*" >> {self.count_file}\nexec {self.bin}/gomcfgctl.real "$@"\n')
        os.chmod(self.bin + "/gomcfgctl", 0o755)
        open(self.count_file, "w").close()
        os.chmod(self.count_file, 0o666)
        for top, dirs, files in os.walk(self.home):
            for name in dirs + files:
                os.chown(os.path.join(top, name), self.uid, self.gid)
        os.chown(self.home, self.uid, self.gid)
        os.chown(self.dir, self.uid, self.gid)

        self.port = free_port()
        env = {"PATH": f"{self.bin}:/usr/bin:/bin", "HOME": self.home, "LANG": "C.UTF-8",
               "XDG_DATA_HOME": self.home + "/.local/share", "XDG_RUNTIME_DIR": self.root + "/run",
               "USER": self.user or pwd.getpwuid(self.uid).pw_name}
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        os.chown(env["XDG_RUNTIME_DIR"], self.uid, self.gid)
        kwargs = {"user": self.uid, "group": self.gid, "extra_groups": []} if self.user else {}
        self.ws = subprocess.Popen([WS, "--port", str(self.port), "--address", "127.0.0.1",
                                    "--local-session=cockpit-bridge"], env=env, cwd=self.home,
                                   stdout=subprocess.DEVNULL, stderr=open(self.root + "/ws.log", "w"),
                                   start_new_session=True, **kwargs)
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=0.2).close()
                break
            except OSError:
                time.sleep(0.05)

        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                    "--disable-component-update", "--disable-sync", "--no-first-run",
                    "--disable-dev-shm-usage", f"--user-data-dir={self.root}/chromium",
                    "--window-size=1000,760", "--lang=en-US"):
            options.add_argument(arg)
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.driver.set_script_timeout(60)

    def close(self):
        try:
            self.driver.quit()
        finally:
            os.killpg(self.ws.pid, signal.SIGTERM)
            self.ws.wait(timeout=20)
            if self.user:
                subprocess.run(["pkill", "-KILL", "-u", self.user], check=False)
                subprocess.run(["userdel", self.user], check=False)
            shutil.rmtree(self.root, ignore_errors=True)

    def runs(self):
        with open(self.count_file) as f:
            return [line.strip() for line in f]

    def url(self, directory=None):
        return (f"http://127.0.0.1:{self.port}/cockpit/@localhost/gomcfg/index.html#/?dir="
                + (directory or self.dir))

    def put(self, name, data, mode=0o644):
        path = os.path.join(self.dir, name)
        if os.path.exists(path):
            os.chmod(path, 0o644)
        with open(path, "wb") as f:
            f.write(data)
        os.chown(path, self.uid, self.gid)
        os.chmod(path, mode)

    def bytes(self, name="GombleTroveII.ini"):
        with open(os.path.join(self.dir, name), "rb") as f:
            return f.read()

    def reset(self):
        for name in os.listdir(self.dir):
            os.unlink(os.path.join(self.dir, name))


class PageCase(unittest.TestCase):
    def setUp(self):
        self.env = ENV
        self.d = ENV.driver
        self.env.reset()
        self.env.put("GombleTroveII.ini", sample_ini())

    # --- driving the page ---

    def js(self, script, *args):
        return self.d.execute_script(script, *args)

    def wait(self, condition, what, timeout=20):
        end = time.time() + timeout
        while time.time() < end:
            value = condition()
            if value:
                return value
            time.sleep(0.05)
        self.fail(f"timed out waiting for {what}")

    def state(self):
        return self.js("const m = document.getElementById('gomcfg'); return m && m.dataset.state")

    def idle(self):
        self.wait(lambda: self.js("const s = document.querySelector('.gomcfg-sheet');"
                                  "return !s || s.dataset.busy !== 'true'"), "the page to finish")

    def open_page(self, directory=None, state="ready"):
        self.d.get("about:blank")
        before = len(self.env.runs())
        self.d.get(self.env.url(directory))
        self.wait(lambda: self.state() in ("ready", "failed", "ask"), "the page to open")
        self.assertEqual(self.state(), state)
        self.idle()
        return len(self.env.runs()) - before

    def tab(self, caption):
        self.js("document.getElementById('gomcfg-tab-' + arguments[0]).click()", TABS.index(caption))

    def current_tab(self):
        return self.js("return document.querySelector('[role=tab][aria-selected=true]').textContent")

    def control(self, page, caption=None, name=None):
        """The input of the control with that caption or accessible name on a page."""
        script = """
            const panel = document.getElementById('gomcfg-panel-' + arguments[0]);
            for (const label of panel.querySelectorAll('label')) {
                if (label.textContent === arguments[1]) return document.getElementById(label.htmlFor);
            }
            for (const e of panel.querySelectorAll('[aria-label]')) {
                if (e.getAttribute('aria-label') === arguments[2]) return e;
            }
            for (const e of panel.querySelectorAll('button, a')) {
                if (e.textContent === arguments[1]) return e;
            }
            return null;"""
        element = self.js(script, TABS.index(page), caption, name)
        self.assertIsNotNone(element, f"{page}: {caption or name}")
        return element

    def type_into(self, element, text):
        element.clear()
        element.send_keys(text)

    def apply(self):
        before = len(self.env.runs())
        self.js("document.querySelector('.gomcfg-buttons .pf-m-primary').click()")
        return before

    def alerts(self):
        return self.js("return [...document.querySelectorAll('.gomcfg-alerts .pf-c-alert')]"
                       ".map(a => a.textContent)")

    def modal(self):
        return self.wait(lambda: self.js("return document.querySelector('.pf-c-modal-box')"), "a modal")

    def press(self, label):
        self.js("[...document.querySelectorAll('.pf-c-modal-box__footer button')]"
                ".find(b => b.textContent === arguments[0]).click()", label)

    def saved(self):
        self.wait(lambda: self.js("return document.querySelector('.gomcfg-status').textContent") == "Saved.",
                  "Saved.")
        self.idle()

    def no_script_ran(self):
        self.assertIsNone(self.js("return window.__pwned ?? null"))

    # --- cases ---

    def test_opens_with_six_tabs_and_the_files_values_in_one_process(self):
        before = len(self.env.runs())
        runs = self.open_page()
        self.assertEqual(runs, 1, self.env.runs())
        self.assertEqual(self.js("return [...document.querySelectorAll('[role=tab]')].map(t => t.textContent)"),
                         TABS)
        self.assertEqual(self.current_tab(), "Weapons")
        self.assertFalse(self.control("Weapons", "Railgun").is_selected())
        self.assertEqual(self.control("Weapons", name="Railgun substitute").get_attribute("value"), "rockets")
        self.assertFalse(self.control("Weapons", name="Railgun substitute").is_enabled())
        self.tab("Server Options")
        self.assertEqual(self.current_tab(), "Server Options")
        self.assertEqual(self.control("Server Options", name="Frag Limit").get_attribute("value"), "30")
        self.assertFalse(self.control("Server Options", "Breakable Items").is_enabled())  # placeholder
        # Help: the tab's keys and the file's full path.
        self.js("[...document.querySelectorAll('.gomcfg-buttons button')].find(b => b.textContent === 'Help').click()")
        text = self.modal().text
        self.assertIn("Nfraglimit = 0  (0 to 1000)", text)
        self.assertIn(self.env.dir + "/GombleTroveII.ini", text)
        self.d.switch_to.active_element.send_keys("\ue00c")  # Esc
        self.wait(lambda: not self.js("return document.querySelector('.pf-c-modal-box')"), "Help to close")
        self.assertEqual(len(self.env.runs()) - before, 1)

    def test_an_edit_and_apply_changes_that_line_alone_in_one_process(self):
        before_bytes = sample_ini()
        self.open_page()
        self.tab("Server Options")
        self.control("Server Options", "Cheating").click()
        before = self.apply()
        self.saved()
        self.assertEqual(len(self.env.runs()) - before, 1)
        self.assertEqual(self.env.bytes(), before_bytes.replace(b"cheating=false\r\n", b"cheating=true\r\n"))
        # Cancel drops an edit and shows the file again.
        self.control("Server Options", "Same Map").click()
        self.js("[...document.querySelectorAll('.gomcfg-buttons button')].find(b => b.textContent === 'Cancel').click()")
        self.idle()
        self.wait(lambda: not self.control("Server Options", "Same Map").is_selected(), "Cancel")
        self.assertEqual(self.env.bytes(), before_bytes.replace(b"cheating=false\r\n", b"cheating=true\r\n"))

    def test_weapon_values_the_sheet_cannot_read_are_reported_as_it_reports_them(self):
        self.env.put("GombleTroveII.ini", sample_ini().replace(b"railgunT=rockets", b"railgunT=Rockets")
                     .replace(b"bfg=false", b"bfg=no"))
        self.open_page()
        self.assertEqual(self.alerts(), ["railgunTERROR: problem in .ini file\n in function LoadDataItem()\n",
                                         "bfgERROR: problem in .ini file..\nFunction LoadDataItemON()"])
        self.assertEqual(self.js("return document.querySelector('#gomcfg-panel-0 select[aria-label=\"Railgun substitute\"]')"
                                 ".selectedIndex"), -1)

    def test_a_number_out_of_range_is_refused_on_leaving_the_tab_and_on_apply(self):
        before_bytes = sample_ini()
        self.open_page()
        self.tab("Server Options")
        frag = self.control("Server Options", name="Frag Limit")
        self.type_into(frag, "1001")
        self.tab("Services")
        self.assertEqual(self.current_tab(), "Server Options")
        self.assertEqual(self.alerts(), ["Please enter a whole number from 0 to 1000."])
        self.assertEqual(self.d.switch_to.active_element, frag)
        before = self.apply()
        time.sleep(0.3)
        self.assertEqual(len(self.env.runs()), before)
        self.assertEqual(self.env.bytes(), before_bytes)
        self.type_into(frag, "1000")
        self.tab("Services")
        self.assertEqual(self.current_tab(), "Services")

    def test_another_programs_change_is_kept(self):
        self.open_page()
        self.tab("Server Options")
        self.control("Server Options", "Same Map").click()
        other = sample_ini().replace(b"noexit=true\r\n", b"noexit=false\r\n").replace(b"ctf=", b"ctf=x")
        self.env.put("GombleTroveII.ini", other)
        self.apply()
        self.saved()
        self.assertEqual(self.env.bytes(), other.replace(b"samemap=false\r\n", b"samemap=true\r\n"))
        self.assertFalse(self.control("Server Options", "No exit").is_selected())

    def test_the_conflict_question_cancel_no_and_yes(self):
        self.open_page()
        self.tab("Server Options")
        frag = self.control("Server Options", name="Frag Limit")
        self.type_into(frag, "9")
        theirs = sample_ini().replace(b"Nfraglimit=30", b"Nfraglimit=7")
        self.env.put("GombleTroveII.ini", theirs)

        before = self.apply()
        box = self.modal()
        self.assertIn("Nfraglimit: 7 in the file, 9 here", box.text)
        self.assertEqual(self.d.switch_to.active_element.text, "Cancel")
        self.assertEqual(len(self.env.runs()) - before, 1)
        self.d.switch_to.active_element.send_keys("\ue00c")  # Esc is Cancel
        self.idle()
        self.assertEqual(self.env.bytes(), theirs)
        self.assertEqual(frag.get_attribute("value"), "9")

        before = self.apply()
        self.modal()
        self.press("No")
        self.saved()
        self.assertEqual(len(self.env.runs()) - before, 2)
        self.assertEqual(self.env.bytes(), theirs)
        self.assertEqual(frag.get_attribute("value"), "7")

        self.type_into(frag, "9")
        theirs = theirs.replace(b"Nfraglimit=7", b"Nfraglimit=8")
        self.env.put("GombleTroveII.ini", theirs)
        before = self.apply()
        self.modal()
        self.press("Yes")
        self.saved()
        self.assertEqual(len(self.env.runs()) - before, 2)
        self.assertEqual(self.env.bytes(), theirs.replace(b"Nfraglimit=8", b"Nfraglimit=9"))

    def test_a_file_that_may_not_be_written_shows_its_values_and_is_not_written(self):
        before_bytes = sample_ini()
        self.env.put("GombleTroveII.ini", before_bytes, mode=0o444)
        self.open_page()
        message = f"cannot write {self.env.dir}/GombleTroveII.ini: Permission denied"
        self.assertEqual(self.alerts(), [message])
        self.assertFalse(self.control("Weapons", "Railgun").is_selected())
        self.control("Weapons", "Railgun").click()
        before = self.apply()
        self.wait(lambda: message in self.alerts(), "the refusal")
        self.assertEqual(len(self.env.runs()), before)
        self.assertEqual(self.env.bytes(), before_bytes)

    def test_text_from_the_files_is_never_run_as_html(self):
        hostile = b'<img src=x onerror="window.__pwned=1"><script>window.__pwned=2</script>'
        self.env.put("gomble_motd.txt", b"Hello\r\n" + hostile + b"\r\n")
        self.env.put("gthome.url", b"[InternetShortcut]\r\nURL=javascript:window.__pwned=3\r\n")
        self.env.put("gthelp.url", b'[InternetShortcut]\r\nURL=https://example.org/"><img src=x onerror=window.__pwned=4>\r\n')
        self.env.put("GombleTroveII.ini", sample_ini().replace(b"Nfraglimit=30", b"Nfraglimit=" + hostile))
        self.open_page()
        self.tab("Gomble Stuff")
        preview = self.control("Gomble Stuff", name="Message of the day preview")
        self.assertEqual(preview.get_attribute("value"), "Hello\n" + hostile.decode() + "\n")
        self.tab("About")
        home = self.control("About", "Goto Home Page")
        self.assertEqual(home.tag_name, "button")
        self.assertFalse(home.is_enabled())
        help_link = self.control("About", "Help Files")
        self.assertEqual(help_link.tag_name, "a")
        self.assertTrue(help_link.get_attribute("href").startswith("https://example.org/"))
        self.assertEqual(help_link.get_attribute("rel"), "noopener noreferrer")
        self.assertEqual(help_link.get_attribute("target"), "_blank")
        # The stored value comes back in the conflict question, as text.
        self.tab("Server Options")
        self.type_into(self.control("Server Options", name="Frag Limit"), "5")
        self.env.put("GombleTroveII.ini", sample_ini().replace(b"Nfraglimit=30", b"Nfraglimit=<b>6</b>"))
        self.apply()
        self.assertIn("<b>6</b> in the file", self.modal().text)
        self.press("Cancel")
        time.sleep(0.3)
        self.assertEqual(self.js("return document.querySelectorAll('img:not(.gomcfg-picture), script:not([src])').length"), 0)
        self.no_script_ran()

    def edit_file(self, page, caption):
        self.tab(page)
        before = len(self.env.runs())
        self.control(page, caption).click()
        box = self.modal()
        self.wait(lambda: self.js("return document.querySelector('.gomcfg-editor')"), "the editor")
        self.assertEqual(len(self.env.runs()) - before, 1)
        return box, self.js("return document.querySelector('.gomcfg-editor')")

    def editor_message(self):
        return self.wait(lambda: self.js("const a = document.querySelector('.gomcfg-editor-messages .pf-c-alert');"
                                         "return a && a.textContent"), "the editor's message")

    def test_the_motd_allow_and_deny_editors_save_through_the_store(self):
        self.env.put("gomble_motd.txt", b"Old motd\r\n", mode=0o640)
        self.env.put("allow.cfg", b"10.0.0.1\n")
        self.open_page()

        _, area = self.edit_file("Gomble Stuff", "Edit Motd")
        self.assertEqual(area.get_attribute("value"), "Old motd\n")
        area.send_keys("Second line\n")
        self.press("Save")
        self.assertEqual(self.editor_message(), "Saved.")
        self.assertEqual(self.env.bytes("gomble_motd.txt"), b"Old motd\r\nSecond line\r\n")
        self.assertEqual(stat.S_IMODE(os.stat(os.path.join(self.env.dir, "gomble_motd.txt")).st_mode), 0o640)
        self.press("Close")
        self.assertEqual(self.control("Gomble Stuff", name="Message of the day preview").get_attribute("value"),
                         "Old motd\nSecond line\n")

        _, area = self.edit_file("Services", "Edit Allow File")
        self.env.put("allow.cfg", b"10.0.0.9\n")  # another program saves meanwhile
        area.send_keys("10.0.0.2\n")
        self.press("Save")
        message = self.editor_message()
        self.assertIn("changed since it was opened here; nothing was written", message)
        self.assertEqual(self.env.bytes("allow.cfg"), b"10.0.0.9\n")
        self.press("Close")
        self.press("Discard")  # the typed text was never saved
        self.closed()

        _, area = self.edit_file("Services", "Edit Deny File")
        area.send_keys("192.0.2.1\n")
        self.press("Save")
        self.assertEqual(self.editor_message(), "Saved.")
        self.assertEqual(self.env.bytes("deny.cfg"), b"192.0.2.1\r\n")
        self.press("Close")
        self.assertEqual(self.env.bytes(), sample_ini())

    def closed(self):
        self.wait(lambda: not self.js("return document.querySelector('.pf-c-modal-box')"), "the modal to close")

    def modals(self):
        return self.js("return [...document.querySelectorAll('.pf-c-modal-box')].map(b => b.textContent)")

    def axe_violations(self):
        return self.d.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "axe.run(document, { resultTypes: ['violations'] }).then(r => done(r.violations"
            ".filter(v => v.impact === 'serious' || v.impact === 'critical')"
            ".map(v => v.id + ': ' + v.nodes.map(n => n.target.join(' ')).join(', '))));")

    def test_the_editor_asks_before_it_drops_changed_text(self):
        from selenium.webdriver.common.keys import Keys
        self.env.put("gomble_motd.txt", b"Old motd\r\n")
        self.open_page()

        # Changed text: Esc asks, and Esc in the question (its default) keeps editing.
        _, area = self.edit_file("Gomble Stuff", "Edit Motd")
        area.send_keys("Typed line")
        area.send_keys(Keys.ESCAPE)
        self.wait(lambda: len(self.modals()) == 2, "the question")
        self.assertIn("Discard the changes to gomble_motd.txt?", self.modals()[1])
        self.assertEqual(self.d.switch_to.active_element.text, "Keep editing")
        with open(ARGS.axe) as f:
            self.js(f.read())
        self.assertEqual(self.axe_violations(), [])
        if ARGS.screenshots:
            os.makedirs(ARGS.screenshots, exist_ok=True)
            self.d.save_screenshot(os.path.join(ARGS.screenshots, "cockpit-editor-discard.png"))
        # Tab stays inside the question, not the editor beneath it.
        seen = []
        for _ in range(2):
            self.d.switch_to.active_element.send_keys(Keys.TAB)
            seen.append(self.d.switch_to.active_element.text)
        self.assertEqual(seen, ["Discard", "Keep editing"])
        self.d.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.wait(lambda: len(self.modals()) == 1, "the question to close")
        self.assertEqual(self.d.switch_to.active_element, area)
        self.assertEqual(area.get_attribute("value"), "Old motd\nTyped line")

        # The Close button asks too; Discard closes and writes nothing.
        before = len(self.env.runs())
        self.press("Close")
        self.wait(lambda: len(self.modals()) == 2, "the question")
        self.press("Keep editing")
        self.wait(lambda: len(self.modals()) == 1, "the question to close")
        self.assertEqual(self.d.switch_to.active_element, area)
        area.send_keys(Keys.ESCAPE)
        self.wait(lambda: len(self.modals()) == 2, "the question")
        self.press("Discard")
        self.closed()
        self.assertEqual(self.d.switch_to.active_element.text, "Edit Motd")
        self.assertEqual(len(self.env.runs()), before)
        self.assertEqual(self.env.bytes("gomble_motd.txt"), b"Old motd\r\n")

        # Unchanged text, and text just saved, close at once.
        _, area = self.edit_file("Gomble Stuff", "Edit Motd")
        self.assertEqual(area.get_attribute("value"), "Old motd\n")
        area.send_keys(Keys.ESCAPE)
        self.closed()
        _, area = self.edit_file("Gomble Stuff", "Edit Motd")
        area.send_keys("New line\n")
        self.press("Save")
        self.assertEqual(self.editor_message(), "Saved.")
        area.send_keys(Keys.ESCAPE)
        self.closed()
        self.assertEqual(self.env.bytes("gomble_motd.txt"), b"Old motd\r\nNew line\r\n")
        self.assertEqual(self.env.bytes(), sample_ini())

    def test_axe_finds_no_serious_or_critical_violation_on_any_tab(self):
        with open(ARGS.axe) as f:
            axe = f.read()
        self.open_page()
        self.js(axe)
        for caption in TABS:
            self.tab(caption)
            self.assertEqual(self.axe_violations(), [], caption)
        # And with the conflict question open.
        self.tab("Server Options")
        self.type_into(self.control("Server Options", name="Frag Limit"), "9")
        self.env.put("GombleTroveII.ini", sample_ini().replace(b"Nfraglimit=30", b"Nfraglimit=7"))
        self.apply()
        self.modal()
        self.assertEqual(self.axe_violations(), [])
        self.press("Cancel")

    def test_the_tabs_and_the_modal_work_from_the_keyboard(self):
        from selenium.webdriver.common.keys import Keys
        self.open_page()
        self.js("document.getElementById('gomcfg-tab-0').focus()")
        self.d.switch_to.active_element.send_keys(Keys.ARROW_RIGHT)
        self.assertEqual(self.current_tab(), "Gomble Stuff")
        self.d.switch_to.active_element.send_keys(Keys.END)
        self.assertEqual(self.current_tab(), "About")
        self.d.switch_to.active_element.send_keys(Keys.HOME)
        self.tab("Server Options")
        self.type_into(self.control("Server Options", name="Frag Limit"), "9")
        self.env.put("GombleTroveII.ini", sample_ini().replace(b"Nfraglimit=30", b"Nfraglimit=7"))
        self.apply()
        self.modal()
        # Tab stays inside the question: Yes, No, Cancel and round again.
        seen = []
        for _ in range(4):
            self.d.switch_to.active_element.send_keys(Keys.TAB)
            seen.append(self.d.switch_to.active_element.text)
        self.assertEqual(seen, ["Yes", "No", "Cancel", "Yes"])
        self.d.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.wait(lambda: not self.js("return document.querySelector('.pf-c-modal-box')"), "the question to close")

    def test_a_missing_directory_and_a_missing_gomcfgctl_are_said_plainly(self):
        missing = self.env.root + "/nowhere"
        self.open_page(missing, state="ask")
        self.assertIn(f"cannot use directory {missing}: No such file or directory",
                      self.js("return document.querySelector('.gomcfg-sheet').textContent"))
        self.assertTrue(self.js("return document.getElementById('gomcfg-dir-field') !== null"))
        os.rename(self.env.bin + "/gomcfgctl", self.env.bin + "/gomcfgctl.away")
        try:
            self.open_page(state="failed")
            self.assertIn("install the package gomcfg-terminal",
                          self.js("return document.querySelector('.gomcfg-sheet').textContent"))
        finally:
            os.rename(self.env.bin + "/gomcfgctl.away", self.env.bin + "/gomcfgctl")

    def test_screenshots(self):
        """The README's two pictures: the Weapons tab in the light theme, the conflict question in
        the dark one."""
        if not ARGS.screenshots:
            self.skipTest("no --screenshots directory")
        os.makedirs(ARGS.screenshots, exist_ok=True)
        self.js("localStorage.setItem('shell:style', 'light')")
        self.open_page()
        self.d.save_screenshot(os.path.join(ARGS.screenshots, "cockpit-weapons.png"))
        self.js("localStorage.setItem('shell:style', 'dark')")
        self.open_page()
        self.assertTrue(self.js("return document.documentElement.classList.contains('pf-theme-dark')"))
        self.tab("Server Options")
        self.type_into(self.control("Server Options", name="Frag Limit"), "9")
        self.env.put("GombleTroveII.ini", sample_ini().replace(b"Nfraglimit=30", b"Nfraglimit=7"))
        self.apply()
        self.modal()
        self.d.save_screenshot(os.path.join(ARGS.screenshots, "cockpit-conflict-dark.png"))
        self.press("Cancel")
        self.js("localStorage.removeItem('shell:style')")


def main():
    global ARGS, ENV
    parser = argparse.ArgumentParser()
    parser.add_argument("--package", required=True)
    parser.add_argument("--gomcfgctl", required=True)
    parser.add_argument("--axe", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--screenshots")
    ARGS, rest = parser.parse_known_args()
    missing = missing_components()
    if missing:
        print("Skipped: the browser tests need " + ", ".join(missing) +
              " (tools/install-deps --browser installs them)")
        return SKIP
    ENV = Environment()
    try:
        program = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
    finally:
        ENV.close()
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
