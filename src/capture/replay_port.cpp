#include "capture/replay_port.h"

#include "app/path_text.h"

#include <cmath>

namespace d7o::capture {

namespace {

int portNumberOf(const std::string& name) {
  if (name.size() > 3 && name.compare(0, 3, "COM") == 0) {
    int number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9' || number > 1000) return 1;
      number = number * 10 + (name[i] - '0');
    }
    if (number >= 1 && number <= 16) return number;
  }
  return 1;
}

}  // namespace

ReplayPort::ReplayPort(platform::Scheduler& scheduler, std::filesystem::path file,
                       std::string plainSettings)
    : m_scheduler(scheduler), m_file(file, std::ios::binary) {
  m_reader = std::make_unique<Reader>(m_file, plainSettings);
  if (!m_file.is_open()) {
    m_openError = "cannot read " + app::pathText(file);
    m_finished = true;
    return;
  }
  if (!m_reader->error().empty()) {
    m_openError = app::pathText(file) + ", byte " + std::to_string(m_reader->errorOffset()) + ": " +
                  m_reader->error();
    m_finished = true;
    return;
  }
  m_length = captureLength(file, plainSettings);
  m_settings = m_reader->header().settings;
  m_commPort = portNumberOf(m_reader->header().port);
  fetch();
  if (!m_next) m_finished = true;
}

ReplayPort::~ReplayPort() {
  ++m_generation;
}

void ReplayPort::fetch() {
  m_next = m_reader->next();
}

Millis ReplayPort::position() const {
  if (!m_started || m_paused || m_finished || m_toEnd || m_speed <= kMaxSpeed) {
    return m_anchorPosition;
  }
  const double elapsed = static_cast<double>((m_scheduler.now() - m_anchorTime).count());
  return m_anchorPosition + Millis(static_cast<std::int64_t>(elapsed * m_speed));
}

void ReplayPort::reanchor() {
  m_anchorPosition = position();
  m_anchorTime = m_scheduler.now();
}

void ReplayPort::setSpeed(double speed) {
  reanchor();
  m_speed = speed < 0 ? 1 : speed;
  ++m_generation;
  m_posted = false;
  schedule();
}

void ReplayPort::setPaused(bool paused) {
  reanchor();
  m_paused = paused;
  ++m_generation;
  m_posted = false;
  schedule();
  if (m_onProgress) m_onProgress();
}

void ReplayPort::toEnd() {
  reanchor();
  m_toEnd = true;
  m_paused = false;
  ++m_generation;
  m_posted = false;
  schedule();
}

void ReplayPort::schedule() {
  if (!m_started || m_paused || m_finished || m_posted || !m_next) return;
  Millis delay{0};
  if (m_toEnd || m_speed <= kMaxSpeed) {
    // The next piece once the program has read the last one.
    if (!m_input.empty() || (!m_open && !m_held.empty())) return;
  } else {
    const Millis due = m_next->time - position();
    if (due.count() > 0) {
      delay =
          Millis(static_cast<std::int64_t>(std::ceil(static_cast<double>(due.count()) / m_speed)));
    }
  }
  m_posted = true;
  const std::uint64_t generation = m_generation;
  m_scheduler.post(delay, [this, alive = std::weak_ptr<int>(m_alive), generation] {
    if (alive.expired() || generation != m_generation) return;
    m_posted = false;
    play();
  });
}

void ReplayPort::play() {
  if (!m_started || m_paused || m_finished) return;
  const bool oneAtATime = m_toEnd || m_speed <= kMaxSpeed;
  const Millis now = position();
  bool received = false;
  while (m_next && (oneAtATime || m_next->time <= now)) {
    const Record record = std::move(*m_next);
    fetch();
    if (oneAtATime) m_anchorPosition = record.time;
    apply(record);
    if (record.direction == Direction::Received) {
      received = true;
      if (oneAtATime) break;
    }
  }
  if (!m_next) {
    m_finished = true;
    m_anchorPosition = std::max(m_anchorPosition, m_length);
    if (m_onProgress) m_onProgress();
  } else {
    schedule();
  }
  // Last, as a port raises its receive event: the handler may wait and pump events.
  if (received && m_open && !m_input.empty() && m_handler) m_handler();
}

void ReplayPort::apply(const Record& record) {
  switch (record.direction) {
    case Direction::Received:
      (m_open ? m_input : m_held) += record.bytes;
      break;
    case Direction::Sent:
      break;
    case Direction::Event:
      switch (record.event) {
        case LineEvent::Cts:
          m_cts = record.on;
          break;
        case LineEvent::Cd:
          m_cd = record.on;
          break;
        case LineEvent::Vanished:
          // The port closes itself, as the real one did, until the device is back.
          m_gone = true;
          if (m_open) {
            m_open = false;
            m_lost = true;
            m_input.clear();
          }
          break;
        case LineEvent::Opened:
          m_gone = false;
          break;
        default:
          // Settings, DTR, RTS, BREAK, closing: the program's own acts, which it repeats
          // by itself.
          break;
      }
  }
}

platform::PortResult ReplayPort::setCommPort(int number) {
  if (number < 1 || number > 16) {
    return platform::PortError{platform::port_errors::kInvalidPortNumber, "Invalid Port Number"};
  }
  if (m_open) {
    return platform::PortError{platform::port_errors::kPortAlreadyOpen, "Port already open"};
  }
  m_commPort = number;
  return std::nullopt;
}

platform::PortResult ReplayPort::setSettings(std::string_view settings) {
  m_settings = std::string(settings);
  return std::nullopt;
}

platform::PortResult ReplayPort::open() {
  if (m_open) {
    return platform::PortError{platform::port_errors::kPortAlreadyOpen, "Port already open"};
  }
  if (m_gone) {
    return platform::PortError{platform::port_errors::kHardwareNotAvailable,
                               "The device is not there (replay)"};
  }
  m_open = true;
  m_lost = false;
  if (!m_started) {
    m_started = true;
    // A recording begun with the port closed starts at its first opening.
    if (!m_reader->header().open) {
      while (m_next &&
             !(m_next->direction == Direction::Event && m_next->event == LineEvent::Opened)) {
        apply(*m_next);
        fetch();
      }
      if (m_next) m_anchorPosition = m_next->time;
    }
    m_anchorTime = m_scheduler.now();
    if (!m_next) {
      m_finished = true;
      if (m_onProgress) m_onProgress();
    }
  }
  if (!m_held.empty()) {
    m_input += m_held;
    m_held.clear();
    m_scheduler.post(Millis(0), [this, alive = std::weak_ptr<int>(m_alive)] {
      if (!alive.expired() && m_open && !m_input.empty() && m_handler) m_handler();
    });
  }
  schedule();
  return std::nullopt;
}

void ReplayPort::close() {
  m_open = false;
  m_input.clear();
}

platform::PortResult ReplayPort::write(std::string_view bytes) {
  if (!m_open) return platform::PortError{platform::port_errors::kPortNotOpen, "Port not open"};
  m_dropped += bytes.size();
  return std::nullopt;
}

std::string ReplayPort::readAll() {
  std::string bytes = std::move(m_input);
  m_input.clear();
  schedule();
  return bytes;
}

}  // namespace d7o::capture
