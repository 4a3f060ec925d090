#!/usr/bin/python3
"""The web server's own page in headless Chromium (chromedriver, python3-selenium): the screen is shown at
800x480, a key button acts on the panel while it is local, and a command typed into the page's command
line goes over the websocket and puts the panel in remote; port 81's page, whose server has no websocket,
shows no command line. Exits 77 (skipped) when selenium, chromium or
chromedriver is missing."""
import shutil
import sys
import time

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


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage"):
        options.add_argument(arg)
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def session(ctl, failures):
    driver = browser()
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

        mark = controller_harness.text_log_size(ctl.root)
        driver.find_element(By.XPATH, "//button[text()='O']").click()
        controller_harness.check(failures, "'O' shows the quick ACV edit", controller_harness.wait_until(
            lambda: controller_harness.text_logged(ctl.root, 0, 12, "Quick ACV (", True, mark), 10), True)
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

        driver.get(ctl.http_url(81, "/"))
        controller_harness.wait_until(lambda: driver.execute_script(
            "return typeof ws !== 'undefined' && ws.readyState === WebSocket.CLOSED;"), 10)
        controller_harness.check(failures, "port 81 shows no command line",
                                 driver.find_element(By.ID, "cmd").is_displayed(), False)
    finally:
        driver.quit()


if __name__ == "__main__":
    controller_harness.entry(session, ["--text-log"])
