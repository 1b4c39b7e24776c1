#include "sms/phone_book.h"

#include "app/text.h"
#include "link/serial_link.h"

#include <algorithm>
#include <initializer_list>

namespace d7o::sms {

namespace {
// The country code "international" puts in front of a national number.
constexpr const char* kCountryCode = "+49";
}  // namespace

PhoneBook::PhoneBook(app::Context& ctx, link::SerialLink& link) : m_ctx(ctx), m_link(link) {
  auto& w = m_ctx.main;
  w.Command11.Click.connect([this] { Command11_Click(); });
  w.List4.Click.connect([this] { List4_Click(); });
  w.Command12.Click.connect([this] { Command12_Click(); });
  w.Command46.Click.connect([this] { step(1); });
  w.Command47.Click.connect([this] { step(-1); });
  w.Command48.Click.connect([this] { step(10); });
  w.Command49.Click.connect([this] { step(-10); });
  w.Option1.Click.connect([this] { Option1_Click(); });
  w.Option2.Click.connect([this] { Option2_Click(); });
  w.Command13.Click.connect([this] { Command13_Click(); });
  w.Command14.Click.connect([this] { Command14_Click(); });
}

void PhoneBook::Command11_Click() {
  auto& w = m_ctx.main;
  w.List4.clear();
  w.Command12.setEnabled(true);
  m_link.sendOrReport("AT+CPBS?");
}

void PhoneBook::List4_Click() {
  auto& w = m_ctx.main;
  const int row = w.List4.listIndex();
  if (row < 0 || row >= w.List4.count()) return;
  const std::string& entry = w.List4.item(row);
  const std::size_t comma = entry.find(',');
  // A row without a position leaves the number as it is.
  if (comma == std::string::npos) return;
  w.Text8.setText(">" + entry.substr(0, comma));
}

void PhoneBook::Command12_Click() {
  enableEntry(true);
  m_ctx.main.Command14.setEnabled(true);
  m_ctx.main.Label23.setEnabled(true);
}

void PhoneBook::enableEntry(bool enabled) {
  auto& w = m_ctx.main;
  for (forms::Control* c : std::initializer_list<forms::Control*>{
           &w.Text9, &w.Command46, &w.Command47, &w.Command48, &w.Command49, &w.Label21, &w.Label22,
           &w.Option1, &w.Option2, &w.Command13}) {
    c->setEnabled(enabled);
  }
}

void PhoneBook::step(int delta) {
  auto& w = m_ctx.main;
  const int size = m_ctx.state.phonebook.phonebookSize;
  // Up without a reported size has no end to stop at: the position stays.
  if (delta > 0 && size == 0) return;
  int position = app::wholeNumberOf(w.Label22.caption()) + delta;
  if (delta > 0) position = std::min(position, size);
  if (delta < 0) position = std::max(position, 1);
  w.Label22.setCaption(std::to_string(position));
}

void PhoneBook::Option1_Click() {
  auto& w = m_ctx.main;
  auto& book = m_ctx.state.phonebook;
  book.phonebookNumberType = 129;
  w.Label23.setCaption("129");
  if (!book.savedNationalNumber.empty()) w.Text8.setText(book.savedNationalNumber);
  if (w.Text8.text().starts_with("+")) w.Text8.setText(app::mid(w.Text8.text(), 4, 1000));
}

void PhoneBook::Option2_Click() {
  auto& w = m_ctx.main;
  auto& book = m_ctx.state.phonebook;
  book.phonebookNumberType = 145;
  w.Label23.setCaption("145");
  book.savedNationalNumber = w.Text8.text();
  std::string number = w.Text8.text();
  if (number.starts_with("0")) number.erase(0, 1);
  w.Text8.setText(kCountryCode + number);
}

void PhoneBook::Command13_Click() {
  auto& w = m_ctx.main;
  enableEntry(false);
  w.Label23.setEnabled(false);
  m_link.sendOrReport("AT+CPBW=" + w.Label22.caption() + ",\"" + w.Text8.text() + "\"," +
                      std::to_string(m_ctx.state.phonebook.phonebookNumberType) + ",\"" +
                      w.Text9.text() + "\"");
}

void PhoneBook::Command14_Click() {
  enableEntry(false);
  m_ctx.main.Command14.setEnabled(false);
}

void PhoneBook::storageSize() {
  const std::string& reply = m_ctx.state.dispatch.receiveBuffer;
  const std::size_t comma = reply.rfind(',');
  if (comma == std::string::npos) return;
  // Blanks (the former line end) do not count.
  std::string rest;
  for (const char c : reply.substr(comma + 1)) {
    if (c != ' ') rest += c;
  }
  const int total = app::wholeNumberOf(rest);
  if (total > 1) m_ctx.state.phonebook.phonebookSize = total;
  if (total > 0) m_link.sendOrReport("AT+CPBR=1," + std::to_string(total));
}

void PhoneBook::entry() {
  const std::string& reply = m_ctx.state.dispatch.receiveBuffer;
  // The row starts after the reply's name, wherever the line end before it left the name;
  // a fixed offset would cut into the position after a leading line end.
  const std::size_t name = reply.find("+CPBR: ");
  if (name == std::string::npos) return;
  m_ctx.main.List4.addItem(reply.substr(name + 7));
}

}  // namespace d7o::sms
