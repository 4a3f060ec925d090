#!/usr/bin/python3
"""The web server's own page in headless Chromium (chromedriver, python3-selenium): the screen is shown at
800x480, a key button acts on the panel while it is local, and a command typed into the page's command
line goes over the websocket and puts the panel in remote, a block reply shows as its length and first
bytes with the next reply right behind it; all this beside a flood of screen captures from other clients,
which keeps the panel's display following its keys. After the controller restarts the page's command line
comes back by itself. Port 81's page, whose server has no websocket, shows no command line. Exits 77 (skipped) when selenium, chromium or
chromedriver is missing."""
import os
import shutil
import sys
import tempfile
import threading
import time
import urllib.request

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
except ImportError:
    print("skipped: selenium is not installed (python3-selenium)")
    sys.exit(77)

CHROMIUM = shutil.which("chromium")
CHROMEDRIVER = shutil.which("chromedriver")
if CHROMIUM is None or CHROMEDRIVER is None:
    print("skipped: chromium and chromedriver are needed (Debian: chromium, chromium-driver)")
    sys.exit(77)

import controller_harness


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--disable-dev-shm-usage", "--user-data-dir=" + profile):
        options.add_argument(arg)
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


class CaptureFlood:
    """Clients that ask for the screen back to back, as pages polling it (or another site's page looping
    on it) do, until stopped."""

    def __init__(self, url, clients):
        self.url, self.stopping, self.count = url, threading.Event(), 0
        self.threads = [threading.Thread(target=self.run, daemon=True) for _ in range(clients)]
        for t in self.threads:
            t.start()

    def run(self):
        while not self.stopping.is_set():
            try:
                with urllib.request.urlopen(self.url, timeout=10) as r:
                    r.read()
                self.count += 1
            except OSError:
                time.sleep(0.05)

    def stop(self):
        self.stopping.set()
        for t in self.threads:
            t.join(15)


def screen_reads(root):
    """How many pictures of the screen have been made (each holds the GUI still while it reads)."""
    try:
        with open(os.path.join(root, "var", "log", "commands.log"), errors="replace") as f:
            return f.read().count("cjpeg -outfile")
    except FileNotFoundError:
        return 0


def typed(driver, text):
    driver.find_element(By.ID, "cmd").send_keys(text)
    driver.find_element(By.ID, "send").click()


def session(ctl, failures):
    profile = tempfile.mkdtemp(prefix="vrn-chromium-")
    driver = browser(profile)
    flood = None
    try:
        # A loaded machine can hand the browser its own error page for the first request: load once more.
        loaded = False
        for _ in range(2):
            driver.get(ctl.http_url(80, "/"))
            loaded = controller_harness.wait_until(lambda: driver.execute_script(
                "const i = document.getElementById('screen');"
                "return i !== null && i.complete && i.naturalWidth === 800 && i.naturalHeight === 480;"), 10)
            if loaded:
                break
        controller_harness.check(failures, "the screen image is 800x480", loaded, True)

        reads, flood_start = screen_reads(ctl.root), time.monotonic()
        flood = CaptureFlood(ctl.http_url(80, "/capture.jpg"), 48)
        controller_harness.wait_until(lambda: flood.count >= 48, 20)
        mark = controller_harness.text_log_size(ctl.root)
        start = time.monotonic()
        driver.find_element(By.XPATH, "//button[text()='O']").click()
        shown = controller_harness.wait_until(
            lambda: controller_harness.text_logged(ctl.root, 0, 12, "Quick ACV (", True, mark), 10)
        print(f"     quick ACV edit drawn {time.monotonic() - start:.2f} s after the click, beside {flood.count} captures")
        controller_harness.check(failures, "'O' shows the quick ACV edit", shown, True)
        controller_harness.check(failures, "drawn within 2 s beside the capture flood",
                                 time.monotonic() - start < 2, True)
        # Captures closer than 500 ms get the last picture: the screen is read (the GUI held) no more often.
        reads, seconds = screen_reads(ctl.root) - reads, time.monotonic() - flood_start
        print(f"     the screen was read {reads} times in {seconds:.1f} s of {flood.count} captures")
        controller_harness.check(failures, "the screen read at most once per 500 ms of the flood",
                                 reads <= seconds / 0.5 + 2, True)
        # A second 'O' closes the quick edit again (the status bar's RMT cell is not drawn over it).
        driver.find_element(By.XPATH, "//button[text()='O']").click()
        time.sleep(0.5)

        log = driver.find_element(By.ID, "log")
        controller_harness.wait_until(lambda: driver.execute_script(
            "return typeof ws !== 'undefined' && ws.readyState === WebSocket.OPEN;"), 10)
        mark = controller_harness.text_log_size(ctl.root)
        driver.find_element(By.ID, "cmd").send_keys("VOLT 100;VOLT?")
        start = time.monotonic()
        driver.find_element(By.ID, "send").click()
        answered = controller_harness.wait_until(lambda: "+100.0000" in log.text, 2)
        print(f"     reply after {time.monotonic() - start:.2f} s")
        controller_harness.check(failures, "VOLT 100;VOLT? typed gives +100.0000 within 2 s", answered, True)
        controller_harness.check(failures, "LAN VOLT?", ctl.lan("VOLT?"), "+100.0000")
        controller_harness.check(failures, "RMT shown", controller_harness.wait_until(
            lambda: controller_harness.text_logged(ctl.root, 260, 3, "RMT", False, mark), 10), True)

        # A block reply keeps the connection and shows its length and first bytes; the next reply follows.
        typed(driver, "DATA:ARB:FILE? 1")
        controller_harness.check(failures, "block reply shown", controller_harness.wait_until(
            lambda: "(8267 bytes) #48260" in log.text, 10), True)
        typed(driver, "*ESE 4;*ESE?")
        controller_harness.check(failures, "the reply after the block", controller_harness.wait_until(
            lambda: log.text.rstrip().endswith("+4"), 10), True)
        flood.stop()
        flood = None

        ctl.restart()
        controller_harness.check(failures, "the command line is back after a restart", controller_harness.wait_until(
            lambda: driver.execute_script("return ws !== null && ws.readyState === WebSocket.OPEN;")
            and driver.find_element(By.ID, "cmd").is_displayed(), 30), True)
        typed(driver, "*ESE?")
        controller_harness.check(failures, "served after the restart", controller_harness.wait_until(
            lambda: log.text.rstrip().endswith("+0"), 10), True)

        driver.get(ctl.http_url(81, "/"))
        controller_harness.wait_until(lambda: driver.execute_script(
            "return typeof ws !== 'undefined' && ws.readyState === WebSocket.CLOSED;"), 10)
        controller_harness.check(failures, "port 81 shows no command line",
                                 driver.find_element(By.ID, "cmd").is_displayed(), False)
    finally:
        if flood is not None:
            flood.stop()
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    controller_harness.entry(session, ["--text-log"])
