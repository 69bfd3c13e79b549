#!/usr/bin/env python3
"""The web page in a real headless Chromium, served from localhost: documents downloaded from
the page equal the command line's byte for byte, the derivation is shown step by step, bad
input is reported at its line and column with the command line's message, and a long run can
be cancelled and a new one started.

browser_test.py --site SITE --umbrix UMBRIX [unittest arguments, such as a class name]
Exits with 77 (skipped) when the site or the browser is missing, except under CI.
With --screenshots FOLDER it only takes the README's pictures of the page instead."""
import argparse
import base64
import os
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

SKIPPED = 77
ARGS = None


def skip_or_fail(reason):
    if os.environ.get("CI"):
        sys.exit(f"Browsertests nicht möglich: {reason}")
    print(f"Übersprungen: {reason}")
    sys.exit(SKIPPED)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    skip_or_fail("python3-selenium ist nicht installiert")

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from serve_site import make_server  # noqa: E402

LEVELS = (0, 1, 2)
SAMPLES = "-x2+x1\nx1v(x2+x3)\nx1<=x2vx3\nx1==x2+x3\nx1=>x2\n"
# Runs for minutes in every level: the run to cancel.
LONG_FORMULA = "(x1vx2)+(x3vx4)+(x5vx6)"


def cli_document(text, level, name="AUSGABE", gesetze=False, ergebnis=False):
    """The command line's document for the text (lines separated by LF), exit code and message."""
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as file:
        file.write(text)
    try:
        run = subprocess.run([ARGS.umbrix, "-m", str(level), "-o", "-", "-i", file.name] + ["-g"] * gesetze +
                             ["-e"] * ergebnis, capture_output=True, timeout=120)
    finally:
        os.unlink(file.name)
    return run.stdout, run.returncode, run.stderr.decode("utf-8")


def random_formula(rng, depth):
    if depth == 0 or rng.random() < 0.3:
        atom = rng.choice(["x", "X", ""]) + str(rng.randint(1, 3))
        return ("-" if rng.random() < 0.3 else "") + atom
    left, right = random_formula(rng, depth - 1), random_formula(rng, depth - 1)
    op = rng.choice(["+", "v", "+", "v", "=>", "<=", "=="])
    text = f"{left} {op} {right}" if rng.random() < 0.2 else left + op + right
    return f"({text})" if rng.random() < 0.5 else ("-(" + text + ")" if rng.random() < 0.2 else text)


def random_formulas(count, seed):
    """Formulas that every level converts completely, each within a second."""
    rng = random.Random(seed)
    formulas = []
    while len(formulas) < count:
        formula = random_formula(rng, 3)
        if all(cli_document(formula, level)[1] == 0 for level in (0, 2)):
            formulas.append(formula)
    return formulas


class Page:
    """One browser with the page loaded; downloads land in a folder of their own."""

    def __init__(self, url, width=1200, height=1000, phone=False):
        self.downloads = tempfile.mkdtemp(prefix="umbrix-downloads-")
        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium")
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                         f"--window-size={width},{height}"):
            options.add_argument(argument)
        if phone:
            options.add_experimental_option("mobileEmulation", {
                "deviceMetrics": {"width": width, "height": height, "pixelRatio": 1, "touch": True}})
        options.add_experimental_option("prefs", {"download.default_directory": self.downloads,
                                                  "download.prompt_for_download": False})
        self.driver = webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)
        self.driver.execute_cdp_cmd("Page.setDownloadBehavior",
                                    {"behavior": "allow", "downloadPath": self.downloads})
        self.driver.get(url)
        self.wait_for_status("Bereit.")

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.downloads, ignore_errors=True)

    def find(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def status(self):
        return self.find("status").text

    def wait_for_status(self, start, timeout=120):
        WebDriverWait(self.driver, timeout, poll_frequency=0.05).until(lambda _: self.status().startswith(start))

    def run(self, text, level=0, name=None, gesetze=False, ergebnis=False):
        """Types the formulas, chooses the level, the laws and the section "Ergebnis", starts and
        waits for the end of the run."""
        self.driver.execute_script("arguments[0].value = arguments[1];", self.find("formeln"), text)
        if name is not None:
            field = self.find("dateiname")
            field.clear()
            field.send_keys(name)
        self.driver.find_element(By.CSS_SELECTOR, f"input[name='stufe'][value='{level}']").click()
        for box, wanted in (("gesetze", gesetze), ("mit-ergebnis", ergebnis)):
            if self.find(box).is_selected() != wanted:
                self.find(box).click()
        self.find("start").click()
        WebDriverWait(self.driver, 120, poll_frequency=0.05).until(lambda _: self.find("start").is_enabled())

    def printed_text(self):
        """The text of the page as the browser prints it to PDF."""
        pdf = base64.b64decode(self.driver.print_page())
        with tempfile.NamedTemporaryFile(suffix=".pdf") as file:
            file.write(pdf)
            file.flush()
            return subprocess.run(["pdftotext", "-enc", "UTF-8", file.name, "-"], capture_output=True,
                                  timeout=60).stdout.decode()

    def download(self):
        """Clicks "TEX herunterladen"; returns the file name and the bytes of the download."""
        for name in os.listdir(self.downloads):
            os.unlink(os.path.join(self.downloads, name))
        self.find("herunterladen").click()
        deadline = time.time() + 30
        while time.time() < deadline:
            names = os.listdir(self.downloads)
            if names and not any(name.endswith(".crdownload") for name in names):
                with open(os.path.join(self.downloads, names[0]), "rb") as file:
                    return names[0], file.read()
            time.sleep(0.1)
        raise AssertionError("kein Download")

    def count(self, selector):
        return len(self.driver.find_elements(By.CSS_SELECTOR, selector))

    def find_css(self, selector):
        return self.driver.find_element(By.CSS_SELECTOR, selector)


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = make_server(ARGS.site)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.url = f"http://127.0.0.1:{cls.server.server_address[1]}/index.html"
        cls.page = Page(cls.url)

    @classmethod
    def tearDownClass(cls):
        cls.page.close()
        cls.server.shutdown()
        cls.server.server_close()

    def assert_download_equals_cli(self, text, level, name="AUSGABE", gesetze=False, ergebnis=False):
        expected, code, _ = cli_document(text, level, name, gesetze, ergebnis)
        self.assertEqual(code, 0)
        self.page.run(text, level, name, gesetze, ergebnis)
        self.assertTrue(self.page.status().startswith("Fertig"), self.page.status())
        file_name, document = self.page.download()
        self.assertEqual(file_name, name.upper() + ".TEX")
        self.assertEqual(document, expected, f"Stufe {level}: {text!r}")
        return expected


class Documents(PageTest):
    def test_samples_in_every_level_with_their_steps(self):
        for level in LEVELS:
            with self.subTest(level=level):
                document = self.assert_download_equals_cli(SAMPLES, level)
                # Every formula line of the document is shown, each but the input as a numbered
                # step, and typeset when it comes into view.
                formulas = [line.decode().removeprefix("$\\sim$ ")[1:-1] for line in document.split(b"\r\n")
                            if line.startswith(b"$")]
                shown = self.page.driver.execute_script(
                    "return [...document.querySelectorAll('#herleitung .formel:not(.zusammenfassung .formel)')]"
                    ".map((e) => e.dataset.tex);")
                self.assertEqual(shown, formulas)
                self.assertEqual(self.page.count("li.schritt .nummer"), len(formulas) - 5)
                last = self.page.driver.find_elements(By.CSS_SELECTOR, "li.schritt .formel")[-1]
                self.page.driver.execute_script("arguments[0].scrollIntoView();", last)
                WebDriverWait(self.page.driver, 30).until(lambda _: "gesetzt" in last.get_attribute("class"))
                self.assertEqual(self.page.count("li.ergebnis"), 2 * 5)
                self.assertEqual(self.page.count("#herleitung h3"), 5)

    def test_random_formulas_in_every_level(self):
        formulas = random_formulas(30, seed=15)
        for level in LEVELS:
            with self.subTest(level=level):
                self.assert_download_equals_cli("\n".join(formulas) + "\n", level)
        # Single formulas: no headings, and the typed file name; letters and symbols as typed;
        # every other one with the laws, named beside every step.
        for index, formula in enumerate(formulas[:5] + ["(p ∧ q) → ¬r"]):
            with self.subTest(formula=formula):
                gesetze = index % 2 == 1
                self.assert_download_equals_cli(formula, LEVELS[index % 3], name="uebung", gesetze=gesetze)
                self.assertEqual(self.page.count("#herleitung h3"), 0)
                self.assertEqual(self.page.count("li.ergebnis"), 2)
                self.assertEqual(self.page.count("li.schritt .gesetze"), self.page.count("li.schritt") * gesetze)

    def test_large_document_is_offered_for_download_only(self):
        text = "(x1vx2)+(x3vx4)+x5\n(x1vx2)+(x3vx4)+x5\n(x1==x2)==x3\n"
        self.assert_download_equals_cli(text, 0)
        self.assertIn("zu groß", self.page.find("dokument-info").text)
        self.assertFalse(self.page.find("ergebnis").is_displayed())

    def test_member_limit_is_reported_as_the_command_line_reports_it(self):
        text = "(x1==x2)==(x3==x4)"
        with tempfile.TemporaryDirectory() as folder:
            run = subprocess.run([ARGS.umbrix, "-m", "2", "-o", os.path.join(folder, "a"), "--", text],
                                 capture_output=True, timeout=120)
        self.assertEqual(run.returncode, 4)
        self.page.run(text, 2)
        self.assertEqual(self.page.status(), run.stderr.decode().removeprefix("umbrix: ").strip())


class InputErrors(PageTest):
    def test_problems_shown_with_the_command_lines_message(self):
        text = "x1+(x2\nx1 x2\n\nx1 + #\n"
        _, code, message = cli_document(text, 0)
        self.assertEqual(code, 1)
        self.page.run(text)
        shown = self.page.find("fehler")
        self.assertTrue(shown.is_displayed())
        self.assertEqual(shown.text, message.removeprefix("umbrix: ").strip())
        self.assertEqual(self.page.find("formeln").get_attribute("aria-invalid"), "true")
        self.assertFalse(self.page.find("dokument").is_displayed())
        # Each listed problem selects its place in the text: line 4, column 6 is the "#".
        jumps = self.page.driver.find_elements(By.CSS_SELECTOR, "#fehler button.stelle")
        self.assertEqual(len(jumps), 3)
        jumps[2].click()
        start = self.page.driver.execute_script("return document.getElementById('formeln').selectionStart;")
        self.assertEqual(text[start], "#")

    def test_a_good_run_clears_the_problems(self):
        self.page.run("x1+")
        self.assertTrue(self.page.find("fehler").is_displayed())
        self.page.run("x1+x2")
        self.assertFalse(self.page.find("fehler").is_displayed())
        self.assertTrue(self.page.find("dokument").is_displayed())


class Running(PageTest):
    def test_long_run_shows_progress_is_cancelled_and_the_next_run_works(self):
        self.page.driver.execute_script("arguments[0].value = arguments[1];", self.page.find("formeln"),
                                        LONG_FORMULA)
        self.page.find("start").click()
        self.page.wait_for_status("Formel 1 von 1:", timeout=60)
        self.assertFalse(self.page.find("start").is_enabled())
        self.page.find("abbrechen").click()
        self.page.wait_for_status("Abgebrochen.", timeout=10)
        self.assertFalse(self.page.find("abbrechen").is_enabled())
        self.assert_download_equals_cli("x1=>x2", 1)

    def test_page_works_offline_once_loaded(self):
        self.page.driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]());")
        self.page.driver.refresh()  # the stored files are taken when a later visit finds no server
        self.page.wait_for_status("Bereit.")
        self.server.shutdown()
        self.server.server_close()
        self.page.driver.refresh()
        self.page.wait_for_status("Bereit.")
        self.assert_download_equals_cli("x1<=x2vx3", 2)


class Presentation(PageTest):
    # Here, not with the running tests: their last test takes the server down.
    def test_the_cap_ends_a_large_derivation_with_a_closed_document(self):
        self.page.driver.get(self.url + "?grenze=1")
        self.page.wait_for_status("Bereit.")
        self.assertEqual(self.page.find("grenze").text, "1,0 MB")
        self.page.run(LONG_FORMULA, 0)
        status = self.page.status()
        self.assertIn("Grenze von 1 MB", status)
        self.assertIn('"wenig Zwischenschritte"', status)
        self.assertIn("abgeschlossen", self.page.find("dokument-info").text)
        _, document = self.page.download()
        self.assertGreaterEqual(len(document), 1 << 20)
        self.assertLess(len(document), 2 << 20)  # the cap, and the line that reached it
        self.assertTrue(document.endswith(b"\\textbf{Abbruch.} Das Dokument hat hier die Grenze von 1 MB erreicht. "
                                          b"Mit der Stufe ``wenig Zwischenschritte'' wird die Herleitung viel "
                                          b"k\\\"urzer.\r\n\r\n\\end{document}\r\n"), document[-300:])
        if shutil.which("pdflatex"):
            with tempfile.TemporaryDirectory() as folder:
                with open(os.path.join(folder, "CAP.TEX"), "wb") as file:
                    file.write(document)
                run = subprocess.run(["pdflatex", "-interaction=nonstopmode", "-halt-on-error", "CAP.TEX"],
                                     cwd=folder, capture_output=True, timeout=300)
                self.assertEqual(run.returncode, 0, run.stdout[-2000:])
        self.page.driver.get(self.url)
        self.page.wait_for_status("Bereit.")

    def test_summary_on_top_long_phases_collapsed_and_the_result_in_sight(self):
        self.page.driver.set_window_size(1200, 700)
        self.page.run("(x1vx2)+(x3v-x2)\nx1=>x2\n", 0)
        self.assertGreater(self.page.driver.execute_script("return window.scrollY;"), 0)
        top = self.page.driver.execute_script(
            "return document.getElementById('ergebnis').getBoundingClientRect().top;")
        self.assertLess(abs(top), 50, "the derivation starts at the top of the screen")
        summaries = self.page.driver.find_elements(By.CSS_SELECTOR, ".zusammenfassung")
        self.assertEqual(len(summaries), 2)
        links = summaries[0].find_elements(By.CSS_SELECTOR, "a")
        self.assertEqual([link.text for link in links], ["Disjunktive Normalform:", "Konjunktive Normalform:"])
        for link in links:
            target = link.get_attribute("href").split("#")[1]
            self.assertEqual(self.page.driver.find_element(By.ID, target).tag_name, "h4")
        # The first formula's conjunctive merge has eight steps: first and last shown.
        button = self.page.driver.find_element(By.CSS_SELECTOR, "button.alle-schritte")
        self.assertRegex(button.text, r"^alle \d+ Schritte zeigen$")
        steps = int(button.text.split()[1])
        phase = button.find_element(By.XPATH, "ancestor::ol")
        visible = lambda: sum(step.is_displayed() for step in phase.find_elements(By.CSS_SELECTOR, "li.schritt"))
        self.assertEqual(visible(), 2)
        self.page.driver.execute_script("arguments[0].click();", button)
        self.assertEqual(visible(), steps)

    def test_reload_keeps_the_level_and_the_check_box(self):
        self.page.run("x1", 2, gesetze=True)
        self.page.driver.refresh()
        self.page.wait_for_status("Bereit.")
        level = self.page.driver.find_element(By.CSS_SELECTOR, "input[name='stufe']:checked")
        self.assertEqual(level.get_attribute("value"), "2")
        self.assertTrue(self.page.find("gesetze").is_selected())
        self.page.run("x1", 0, gesetze=False)  # leaves the page as the other tests expect it

    def test_printed_page_is_the_worked_solution_without_the_controls(self):
        self.page.run("(x1vx2)+(x1v-x2)", 0)
        text = self.page.printed_text()
        for expected in ("Disjunktive Normalform:", "Zusammenfassen der mehrfach vorkommenden Literale",
                         "konjunktive Normalform"):
            self.assertIn(expected, text)
        for control in ("Start", "Abbrechen", "TEX herunterladen", "Schritte zeigen"):
            self.assertNotIn(control, text)
        # Every step is printed, also those that the screen shows collapsed.
        steps = self.page.count("li.schritt")
        numbers = [line for line in text.splitlines() if line.strip().rstrip(".").isdigit()]
        self.assertGreaterEqual(len(numbers), steps)


class CheckTab(PageTest):
    def check(self, text, goal="-1", hint=False):
        self.page.find("reiter-pruefen").click()
        self.page.driver.execute_script("arguments[0].value = arguments[1];", self.page.find("herleitung-text"), text)
        self.page.driver.execute_script("arguments[0].value = arguments[1];", self.page.find("ziel"), goal)
        if self.page.find("hinweis-wahl").is_selected() != hint:
            self.page.find("hinweis-wahl").click()
        self.page.find("pruefen-start").click()
        WebDriverWait(self.page.driver, 60, poll_frequency=0.05).until(
            lambda _: self.page.find("pruefen-start").is_enabled() and self.page.find("pruefung").text)
        return self.page.find("pruef-status").text, self.page.find("pruefung").text

    def cli_check(self, text, *options):
        run = subprocess.run([ARGS.umbrix, "--pruefen", "-i", "-", *options], input=text.encode(),
                             capture_output=True, timeout=60)
        return run.stdout.decode()

    def test_verdicts_equal_the_command_lines(self):
        cases = [("p→q\n¬p∨q\n¬(p∧¬q)\n", "-1", False, "Alle Schritte sind richtig."),
                 ("¬(a∧b)\n¬a∧¬b\n", "-1", False, "Nicht alle Schritte sind richtig"),
                 ("(p∨q)∧¬p\n(p∧¬p)∨(q∧¬p)\n", "0", True, "Alle Schritte sind richtig.")]
        for text, goal, hint, status in cases:
            with self.subTest(text=text):
                shown_status, shown = self.check(text, goal, hint)
                self.assertTrue(shown_status.startswith(status), shown_status)
                options = (["--ziel", ["DNF", "KNF", "beide"][int(goal)]] if goal != "-1" else []) + ["--hinweis"] * hint
                expected = self.cli_check(text, *options)
                self.assertEqual(shown.split(), expected.split())
        self.assertIn("De Morgan", self.check("¬(a∧b)\n¬a∧¬b\n")[1])
        self.page.find("reiter-umformen").click()
        self.assertTrue(self.page.find("formeln").is_displayed())
        self.assertFalse(self.page.find("herleitung-text").is_displayed())


class Ergebnis(PageTest):
    """The check box "Ergebnis": the document of umbrix -e, the section shown with its tables."""

    def test_download_equals_the_command_line_with_and_without_the_laws(self):
        text = "(x1vx2)+(x1v-x2)\n(avb)+-c\n(-x1+-x2)v(x2+-x3)v(x1+x3)\na+b+c+d+e\nx1==x2+x3\n"
        for level in (0, 2):
            for gesetze in (False, True):
                with self.subTest(level=level, gesetze=gesetze):
                    document = self.assert_download_equals_cli(text, level, gesetze=gesetze, ergebnis=True)
                    self.assertEqual(document.count(b"\\textbf{Ergebnis}"), 5)
                    self.assertEqual(self.page.count(".ergebnis-abschnitt"), 5)
        # A single formula in letters, under its own name; then without the box the plain document.
        self.assert_download_equals_cli("(p ∧ q) → ¬r", 1, name="uebung", gesetze=True, ergebnis=True)
        document = self.assert_download_equals_cli("(p ∧ q) → ¬r", 1, name="uebung")
        self.assertNotIn(b"Ergebnis", document)
        self.assertEqual(self.page.count(".ergebnis-abschnitt"), 0)

    def test_a_derivation_stopped_at_the_member_limit_ends_with_the_section_of_the_formula(self):
        text = "(x1vx2)+(x3vx4)+(x5vx6)+(x7vx8)"
        expected, code, message = cli_document(text, 2, ergebnis=True)
        self.assertEqual(code, 4)
        self.page.run(text, 2, ergebnis=True)
        self.assertEqual(self.page.status(), message.removeprefix("umbrix: ").strip())
        _, document = self.page.download()
        self.assertEqual(document, expected)
        # The steps up to the stop are shown, and the section computed from the formula itself.
        section = self.page.driver.find_element(By.CSS_SELECTOR, ".ergebnis-abschnitt")
        self.assertIn("Die Herleitung ist abgebrochen", section.get_attribute("textContent"))
        self.assertIn("Minimale konjunktive Form", section.get_attribute("textContent"))

    def test_section_shows_the_kv_diagrams_and_the_quine_mccluskey_tables(self):
        self.page.run("(avb)+-c", 0, ergebnis=True)
        section = self.page.driver.find_element(By.CSS_SELECTOR, ".ergebnis-abschnitt")
        self.page.driver.execute_script("arguments[0].scrollIntoView();", section)
        self.assertTrue(section.is_displayed())
        self.assertEqual(self.page.count(".ergebnis-abschnitt table.wahrheitstafel"), 1)
        self.assertEqual(self.page.count(".ergebnis-abschnitt table.kv"), 2)
        self.assertGreaterEqual(self.page.count(".ergebnis-abschnitt table.qm"), 2)
        self.assertEqual(self.page.count(".ergebnis-abschnitt table.qm-tafel"), 1)
        # The DNF's diagram: columns ab, row c, the blocks A (a∧¬c) and B (b∧¬c) on the 1 cells.
        rows = self.page.driver.execute_script(
            "return [...document.querySelector('table.kv').rows].map((r) => [...r.cells].map((c) => c.textContent));")
        self.assertEqual(rows, [["c\\ab", "00", "01", "11", "10"], ["0", "0", "1 B", "1 AB", "1 A"],
                                ["1", "0", "0", "0", "0"]])
        chart = self.page.find_css("table.qm-tafel").text
        self.assertIn("P1*", chart)
        self.assertIn("⊗", chart)
        # The section's formulas are typeset with KaTeX as they come into view.
        formulas = section.find_elements(By.CSS_SELECTOR, ".formel[data-tex]")
        self.assertGreater(len(formulas), 6)
        for formula in formulas:
            self.page.driver.execute_script("arguments[0].scrollIntoView({block: 'center'});", formula)
            WebDriverWait(self.page.driver, 10).until(lambda _: "gesetzt" in formula.get_attribute("class"))
        # The summary names both minimal forms, linked to them.
        links = self.page.driver.find_elements(By.CSS_SELECTOR, ".zusammenfassung a")
        self.assertEqual([link.get_attribute("textContent") for link in links],
                         ["Disjunktive Normalform:", "Konjunktive Normalform:", "Minimale disjunktive Form:",
                          "Minimale konjunktive Form:"])
        for link in links[2:]:
            target = self.page.driver.find_element(By.ID, link.get_attribute("href").split("#")[1])
            self.assertIn("minimal-", target.get_attribute("class"))

    def test_summary_of_several_minimal_forms_names_one_of_them(self):
        self.page.run("(-x1+-x2)v(x2+-x3)v(x1+x3)", 2, ergebnis=True)
        lines = [line.get_attribute("textContent")
                 for line in self.page.driver.find_elements(By.CSS_SELECTOR, ".zusammenfassung a")]
        self.assertEqual(lines[2:], ["Eine minimale disjunktive Form:", "Minimale konjunktive Form:"])
        # Without the box the summary has the two normal forms only.
        self.page.run("(-x1+-x2)v(x2+-x3)v(x1+x3)", 2)
        self.assertEqual(self.page.count(".zusammenfassung a"), 2)

    def test_reload_keeps_the_check_box(self):
        for ergebnis in (True, False):
            with self.subTest(ergebnis=ergebnis):
                self.page.run("x1", 2, ergebnis=ergebnis)
                self.page.driver.refresh()
                self.page.wait_for_status("Bereit.")
                self.assertEqual(self.page.find("mit-ergebnis").is_selected(), ergebnis)

    def test_six_variables_on_a_phone_scroll_inside_their_tables(self):
        phone = Page(self.url, 390, 800, phone=True)
        try:
            phone.run("(x1+x2)v(x3+x4)v(x5+-x6)", 2, ergebnis=True)
            self.assertEqual(phone.count(".ergebnis-abschnitt table.kv"), 8)
            widths = phone.driver.execute_script(
                "return [document.documentElement.scrollWidth, document.documentElement.clientWidth];")
            self.assertLessEqual(widths[0], widths[1], "the page itself never scrolls sideways")
        finally:
            phone.close()

    def test_printed_section_has_its_tables(self):
        self.page.run("(avb)+-c", 2, ergebnis=True)
        text = self.page.printed_text()
        for expected in ("Ergebnis", "Minimale disjunktive Form:", "KV-Diagramm", "Primimplikantentafel", "P1*"):
            self.assertIn(expected, text)
        self.assertNotIn("Start", text)


def take_screenshots(folder):
    """The page after a run of the samples, as wide as a desktop and as narrow as a phone, and the
    section "Ergebnis" of a run with the check box."""
    server = make_server(ARGS.site)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    for name, width, height, phone in (("web-desktop.png", 1100, 1400, False), ("web-phone.png", 390, 1300, True)):
        page = Page(url, width, height, phone)
        page.run("x1=>x2\n(x1vx2)+(x1v-x2)\n", 0, gesetze=not phone)
        if phone:
            page.driver.execute_script("document.getElementById('ergebnis-titel').scrollIntoView();"
                                       "window.scrollBy(0, -document.documentElement.clientHeight / 4);")
        time.sleep(1)
        page.driver.save_screenshot(os.path.join(folder, name))
        page.close()
    # The check boxes, the summary with the minimal forms and the section "Ergebnis" down to
    # its KV diagrams.
    page = Page(url, 1100, 2400)
    page.run("(avb)+-c", 2, ergebnis=True)
    page.driver.execute_script("document.querySelector('.wahlen').scrollIntoView(); window.scrollBy(0, -90);")
    time.sleep(1)
    page.driver.save_screenshot(os.path.join(folder, "web-ergebnis.png"))
    page.close()
    server.shutdown()


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--umbrix", required=True)
    parser.add_argument("--screenshots")
    ARGS, rest = parser.parse_known_args()
    if not os.path.isfile(os.path.join(ARGS.site, "umbrix.wasm")):
        skip_or_fail(f"keine Web-Seite in {ARGS.site} (make web baut sie)")
    for program in ("chromium", "chromedriver"):
        if not shutil.which(program):
            skip_or_fail(f"{program} ist nicht installiert")
    if ARGS.screenshots:
        take_screenshots(ARGS.screenshots)
        return
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
