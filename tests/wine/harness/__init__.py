"""The Wine end-to-end test harness of Bootmark (see docs/TESTING.md)."""

from .case import WineTestCase  # noqa: F401
