"""/DNSChange: the suite's DNS protection saw the DNS servers of the main adapter
change. The notice shows the new servers at the bottom right; "Allow" makes them the
protected ones, "Stop" writes the protected servers back, each optionally remembered
in "netwarden.ini" so that the next start applies it without a window."""

import subprocess
import time

from harness import WineTestCase
from harness import display as display_module
from harness import ini
from harness import wine

NOTICE_CLASS = "TBmark_DNSChangeNotice"
NOTICE_TITLE = "DNSChangeNotice"
INTERFACES = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\Tcpip\Parameters\Interfaces"
MAIN = "{2B5F6E10-0000-4000-8000-00000000B0B2}"
CURRENT = "1.1.1.1,9.9.9.9"
PROTECTED = "8.8.8.8,8.8.4.4"
# The close button has no text; it is the sixth control the notice makes.
CLOSE_CONTROL_ID = 6


def reg_sz(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def interfaces_reg(main_static):
    """Three interfaces: one without a gateway (never chosen), the main adapter on DHCP
    (with a static DNS list when main_static is given) and a later one with a gateway."""
    main_name_server = reg_sz(main_static or "")
    return f"""[-{INTERFACES}]

[{INTERFACES}\\{{1A000000-0000-4000-8000-00000000A0A1}}]
"EnableDHCP"=dword:00000000
"NameServer"="127.0.0.1"

[{INTERFACES}\\{MAIN}]
"DhcpDefaultGateway"=hex(7):31,00,39,00,32,00,2e,00,31,00,36,00,38,00,2e,00,31,00,2e,00,31,00,00,00,00,00
"EnableDHCP"=dword:00000001
"NameServer"={main_name_server}
"DhcpNameServer"="192.168.1.1 192.168.1.2"

[{INTERFACES}\\{{3C000000-0000-4000-8000-00000000C0C3}}]
"DefaultGateway"=hex(7):31,00,30,00,2e,00,30,00,2e,00,30,00,2e,00,31,00,00,00,00,00
"EnableDHCP"=dword:00000000
"NameServer"="4.4.4.4"
"""


class DnsChangeTest(WineTestCase):

    def setUp(self):
        super().setUp()
        self.netwarden = self.prefix.facts["common_appdata"] + "\\Tarvo\\netwarden.ini"
        self.prefix.unix_path(self.netwarden).unlink(missing_ok=True)

    # --- the machine ---------------------------------------------------------------

    def seed(self, main_static=CURRENT, netwarden=None):
        self.prefix.import_reg(interfaces_reg(main_static))
        if netwarden is not None:
            self.prefix.write_ini(self.netwarden, netwarden)

    def name_server(self, interface=MAIN):
        result = wine.run(["wine", "reg", "query", f"{INTERFACES}\\{interface}", "/v", "NameServer"],
                          self.prefix.env, timeout=60, cwd=self.prefix.artifacts, check=False)
        for line in result.stdout.decode("utf-8", "replace").splitlines():
            fields = line.strip().split(None, 2)
            if fields and fields[0] == "NameServer":
                return fields[2].strip() if len(fields) > 2 else ""
        return None

    def netwarden_bytes(self):
        path = self.prefix.unix_path(self.netwarden)
        return path.read_bytes() if path.exists() else None

    # --- the notice ----------------------------------------------------------------

    def open_notice(self):
        run, notice = self.open_window(["/DNSChange"], NOTICE_CLASS, NOTICE_TITLE, timeout=20)
        return run, notice.hwnd

    # --- tests ---------------------------------------------------------------------

    def test_notice_shows_the_two_servers_at_the_bottom_right_and_close_changes_nothing(self):
        before = ini.encode(f"[Browser Protect]\nDNS=1\nDNSAddress={PROTECTED}\nSystemDnsAuto=0\n")
        self.seed(netwarden=f"[Browser Protect]\nDNS=1\nDNSAddress={PROTECTED}\nSystemDnsAuto=0\n")
        run, hwnd = self.open_notice()

        window = self.window(hwnd)
        left, top, right, bottom = window.rect
        self.assertEqual((right - left, bottom - top), (430, 250))
        screen_width, screen_height = display_module.SCREEN_SIZE
        self.assertEqual(right, screen_width)
        self.assertLessEqual(bottom, screen_height)
        self.assertGreater(bottom, screen_height - 100)  # the work area's bottom

        texts = self.texts(hwnd)
        for text in ["Tarvo DNS Protector", "Your DNS may have been maliciously changed to:", "1.1.1.1",
                     "9.9.9.9", "Allow", "Stop", "Remember my choice"]:
            self.assertIn(text, texts)
        self.save_documentation_screenshot(window.rect)

        self.click(hwnd, control_id=CLOSE_CONTROL_ID)
        self.finish(run)
        self.assertEqual(self.name_server(), CURRENT)
        self.assertEqual(self.netwarden_bytes(), before)

    def test_allow_and_stop_with_and_without_remembering(self):
        cases = [
            # (button, remember, NameServer after, DNSAddress after, remembered section)
            ("Allow", False, CURRENT, CURRENT, None),
            ("Allow", True, CURRENT, CURRENT, "DNSRember_Allow"),
            ("Stop", False, PROTECTED, PROTECTED, None),
            ("Stop", True, PROTECTED, PROTECTED, "DNSRember_Stop"),
        ]
        for button, remember, name_server, address, section in cases:
            with self.subTest(button=button, remember=remember):
                self.seed(netwarden=f"[Browser Protect]\nDNS=1\nDNSAddress={PROTECTED}\nSystemDnsAuto=0\n")
                run, hwnd = self.open_notice()
                if remember:
                    self.click(hwnd, "Remember my choice")
                self.click(hwnd, button)
                self.finish(run)

                self.assertEqual(self.name_server(), name_server)
                settings = self.prefix.read_ini(self.netwarden)
                self.assertEqual(settings.value("Browser Protect", "DNSAddress"), address)
                self.assertEqual(settings.value("Browser Protect", "SystemDnsAuto"), "0")
                self.assertEqual(settings.value("Browser Protect", "DNS"), "1")
                remembered = {name: keys for name, keys in settings.sections if name.startswith("DNSRember")}
                if section is None:
                    self.assertEqual(remembered, {})
                else:
                    self.assertEqual(list(remembered), [section])
                    [(key, value)] = remembered[section]
                    self.assertRegex(key, r"^\d{17}$")
                    self.assertEqual(value, CURRENT)
                    # The key is the UTC time of the choice.
                    stamp = time.strftime("%Y%m%d%H", time.gmtime())
                    self.assertEqual(key[:8], stamp[:8])
                self.prefix.unix_path(self.netwarden).unlink()

    def test_stop_on_automatic_dns_writes_the_protected_static_list_back(self):
        self.seed(main_static=None, netwarden="[Browser Protect]\nDNSAddress=8.8.8.8\nSystemDnsAuto=0\n")
        run, hwnd = self.open_notice()
        texts = self.texts(hwnd)
        self.assertIn("192.168.1.1", texts)
        self.assertIn("192.168.1.2", texts)
        self.click(hwnd, "Stop")
        self.finish(run)
        self.assertEqual(self.name_server(), "8.8.8.8")

    def test_silent_ends(self):
        remembered = f"[Browser Protect]\nDNSAddress={PROTECTED}\nSystemDnsAuto=0\n" \
                     f"[DNSRember_Stop]\n20250101120000000={CURRENT}\n"
        no_gateway = (f"[-{INTERFACES}]\n\n"
                      f"[{INTERFACES}\\{{1A000000-0000-4000-8000-00000000A0A1}}]\n"
                      '"EnableDHCP"=dword:00000000\n"NameServer"="127.0.0.1"\n')
        rows = [  # (case, settings file, interfaces, NameServer after: the remembered choice applied or none)
            ("remembered choice", remembered, None, PROTECTED),
            ("knowledge-base page open", remembered + "[Restore]\nOpenkb=1\n", None, CURRENT),
            ("no adapter with a gateway", None, no_gateway, None),
        ]
        for case, settings, interfaces, name_server in rows:
            with self.subTest(case):
                self.prefix.unix_path(self.netwarden).unlink(missing_ok=True)
                self.seed(netwarden=settings)
                if interfaces is not None:
                    self.prefix.import_reg(interfaces)
                self.run_silent("/DNSChange", window_class=NOTICE_CLASS, timeout=30)
                self.assertEqual(self.name_server(), name_server)
                if name_server != PROTECTED:  # nothing changed
                    self.assertEqual(self.netwarden_bytes(), None if settings is None else ini.encode(settings))

    def test_unreadable_settings_file_is_left_untouched(self):
        odd = b"\xff\xfe[\x00\x00\xd8"  # UTF-16 with an unpaired surrogate
        self.seed()
        self.prefix.unix_path(self.netwarden).parent.mkdir(parents=True, exist_ok=True)
        self.prefix.unix_path(self.netwarden).write_bytes(odd)
        run, hwnd = self.open_notice()
        self.click(hwnd, "Remember my choice")
        self.click(hwnd, "Allow")
        self.finish(run)
        self.assertEqual(self.netwarden_bytes(), odd)
        self.assertEqual(self.name_server(), CURRENT)

    def test_buttons_show_their_hover_state(self):
        self.seed(netwarden=f"[Browser Protect]\nDNS=1\nDNSAddress={PROTECTED}\nSystemDnsAuto=0\n")
        run, hwnd = self.open_notice()
        allow, stop = self.control(hwnd, "Allow"), self.control(hwnd, "Stop")
        self.hover(stop)
        time.sleep(0.5)
        normal = self.mean_colour(allow.rect)
        self.hover(allow)
        self.wait_until(lambda: abs(self.mean_colour(allow.rect) - normal) > 0.02, 10,
                        "the hovered button looks the same")
        self.hover(stop)
        self.wait_until(lambda: abs(self.mean_colour(allow.rect) - normal) < 0.005, 10,
                        "the button kept its hover look")
        self.click(hwnd, control_id=CLOSE_CONTROL_ID)
        self.finish(run)

    def mean_colour(self, rect):
        """The mean brightness (0 to 1) of a screen rectangle."""
        shot = self.display.screenshot(self.prefix.new_artifact("hover", ".png"), rect)
        done = subprocess.run([display_module.CONVERT, str(shot), "-format", "%[fx:mean]", "info:"],
                              check=True, capture_output=True, text=True)
        return float(done.stdout)
