# /DNSChange: the suite's DNS protection saw the DNS servers of the main adapter
# change. The notice shows the new servers at the bottom right; "Allow" makes them the
# protected ones, "Stop" writes the protected servers back, each optionally remembered
# in "netwarden.ini" so that the next start applies it without a window.

import re
import time

from harness import WineTestCase, display as display_module, ini, wine

NOTICE_CLASS = "TBmark_DNSChangeNotice"
NOTICE_TITLE = "DNSChangeNotice"
INTERFACES = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\Tcpip\Parameters\Interfaces"
MAIN = "{2B5F6E10-0000-4000-8000-00000000B0B2}"
CURRENT = "1.1.1.1,9.9.9.9"
PROTECTED = "8.8.8.8,8.8.4.4"
SETTINGS = f"[Browser Protect]\nDNS=1\nDNSAddress={PROTECTED}\nSystemDnsAuto=0\n"
# The close button has no text; it is the sixth control the notice makes.
CLOSE_CONTROL_ID = 6
# The main adapter, on DHCP with a static DNS list (which adapter is the main one is
# a rule of the unit tables).
INTERFACES_REG = f"""[-{INTERFACES}]

[{INTERFACES}\\{MAIN}]
"DhcpDefaultGateway"=hex(7):31,00,39,00,32,00,2e,00,31,00,36,00,38,00,2e,00,31,00,2e,00,31,00,00,00,00,00
"EnableDHCP"=dword:00000001
"NameServer"="{CURRENT}"
"DhcpNameServer"="192.168.1.1 192.168.1.2"
"""


class DnsChangeTest(WineTestCase):

    def setUp(self):
        super().setUp()
        self.netwarden = self.prefix.facts["common_appdata"] + "\\Tarvo\\netwarden.ini"
        self.prefix.unix_path(self.netwarden).unlink(missing_ok=True)

    # --- the machine ---------------------------------------------------------------

    def seed(self, netwarden):
        self.prefix.import_reg(INTERFACES_REG)
        self.prefix.write_ini(self.netwarden, netwarden)

    def name_server(self):
        result = wine.run(["wine", "reg", "query", f"{INTERFACES}\\{MAIN}", "/v", "NameServer"],
                          self.prefix.env, timeout=60, cwd=self.prefix.artifacts, check=False)
        found = re.search(r"^\s*NameServer\s+REG_SZ[ \t]*(.*?)\s*$", result.stdout.decode("utf-8", "replace"), re.M)
        return found.group(1) if found else None

    # --- the notice ----------------------------------------------------------------

    def open_notice(self):
        run, notice = self.open_window(["/DNSChange"], NOTICE_CLASS, NOTICE_TITLE, timeout=20)
        return run, notice.hwnd

    # --- tests ---------------------------------------------------------------------

    def test_notice_shows_the_two_servers_at_the_bottom_right_and_close_changes_nothing(self):
        self.seed(SETTINGS)
        run, hwnd = self.open_notice()

        _, _, right, bottom = self.window(hwnd).rect
        screen_width, screen_height = display_module.SCREEN_SIZE
        self.assertEqual(right, screen_width)
        self.assertTrue(screen_height - 100 < bottom <= screen_height, bottom)  # the work area's bottom

        texts = self.texts(hwnd)
        for text in ["Tarvo DNS Protector", "Your DNS may have been maliciously changed to:", "1.1.1.1",
                     "9.9.9.9", "Allow", "Stop", "Remember my choice"]:
            self.assertIn(text, texts)
        self.save_documentation_screenshot(hwnd, "BOOTMARK_DOC_SCREENSHOT")

        self.click(hwnd, control_id=CLOSE_CONTROL_ID)
        self.finish(run)
        self.assertEqual(self.name_server(), CURRENT)
        self.assertEqual(self.prefix.unix_path(self.netwarden).read_bytes(), ini.encode(SETTINGS))

    def test_allow_and_stop_with_and_without_remembering(self):
        # (button, remembered section, NameServer and protected DNSAddress after)
        for button, section, name_server in [("Allow", None, CURRENT), ("Stop", "DNSRember_Stop", PROTECTED)]:
            with self.subTest(button=button, section=section):
                self.seed(SETTINGS)
                run, hwnd = self.open_notice()
                if section is not None:
                    self.click(hwnd, "Remember my choice")
                self.click(hwnd, button)
                self.finish(run)

                self.assertEqual(self.name_server(), name_server)
                settings = self.prefix.read_ini(self.netwarden)
                self.assertEqual(settings.value("Browser Protect", "DNSAddress"), name_server)
                remembered = {name: keys for name, keys in settings.sections if name.startswith("DNSRember")}
                if section is None:
                    self.assertEqual(remembered, {})
                else:
                    self.assertEqual(list(remembered), [section])
                    [(key, value)] = remembered[section]
                    # The key is the UTC time of the choice.
                    self.assertRegex(key, "^" + time.strftime("%Y%m%d", time.gmtime()) + r"\d{9}$")
                    self.assertEqual(value, CURRENT)
                self.prefix.unix_path(self.netwarden).unlink()

    def test_remembered_choice_is_applied_without_a_window(self):
        self.seed(SETTINGS + f"[DNSRember_Stop]\n20250101120000000={CURRENT}\n")
        self.run_silent("/DNSChange", window_class=NOTICE_CLASS, timeout=30)
        self.assertEqual(self.name_server(), PROTECTED)
